#pragma once

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
// converted texts of the cells it has searched. Matching rows are marked found;
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
    // A converter's text for a cell, kept by stored row with the value it was made from.
    struct Converted {
        Value source;
        String text;
        bool made = false;
    };
    // A column the search looks at, with its kept texts when it has a converter.
    struct SearchedColumn {
        int index;
        const GridColumn* column;
        std::vector<Converted>* kept;
    };
    std::string_view ShownText(const SearchedColumn& searched, int row, String& buffer);
    void LeaveHiddenCursorRow();

    GridCtrl& grid_;
    QPointer<QLineEdit> field_;
    bool active_ = false;  // a non-empty search has marked rows
    std::vector<std::vector<Converted>> converted_;  // by column, then by stable id
};
