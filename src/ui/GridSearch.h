#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <QPointer>

#include "core/Value.h"

class GridColumn;
class GridCtrl;
class QEvent;
class QLineEdit;
class QObject;

// A grid's search: the find field, whether a search has marked the rows, and the
// shown texts of the cells it has searched. Matching rows are marked found;
// with hide rows on the others are hidden.
class GridSearch {
public:
    explicit GridSearch(GridCtrl& grid) : grid_(grid) {}
    ~GridSearch();
    GridSearch(const GridSearch&) = delete;
    GridSearch& operator=(const GridSearch&) = delete;

    // The find field, made on first use as a child of the grid.
    QLineEdit& Field();
    bool IsField(const QObject* object) const;
    String Text() const;
    bool IsActive() const { return active_; }

    // Searches for the text; an empty text shows every row again.
    void Run(const String& text);
    void ShowAllRows();
    // The find field's keys: Enter searches, Escape clears the search and gives the
    // keyboard back to the grid. True when the event was taken.
    bool FieldEvent(QEvent* event);

private:
    // The shown texts of one stored row's searched cells, one after another in texts_,
    // made from the row's cells at `revision` (0: not made yet).
    struct RowText {
        uint64_t revision = 0;
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    // Makes the stored texts fit the searched columns and the rows; false when all must be made again.
    void PrepareTexts(const std::vector<int>& columns);
    // The row's searched texts, one after another; `ends` gets where each column's text ends.
    std::string_view RowTexts(int row, const uint32_t*& ends);
    void LeaveHiddenCursorRow();

    GridCtrl& grid_;
    QPointer<QLineEdit> field_;
    bool active_ = false;  // a non-empty search has marked rows
    // What the searches read: each row's shown texts kept in one run of memory, so a search
    // over many rows reads it straight through instead of each row's cells one by one.
    std::vector<int> textColumns_;   // the searched columns the texts were made for
    std::vector<RowText> rowTexts_;  // by stable id
    std::vector<uint32_t> textEnds_;  // by stable id, then searched column: end of its text in the row's
    String texts_;
    std::size_t staleBytes_ = 0;  // bytes of texts_ that no row refers to any more
};
