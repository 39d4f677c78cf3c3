#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QColor>
#include <QFont>

#include "core/Value.h"

// A row's own look; an unset part falls back to the grid's defaults.
struct GridRowStyle {
    std::optional<QColor> background;
    std::optional<QColor> foreground;
    std::optional<QFont> font;
    bool IsEmpty() const { return !background && !foreground && !font; }
};

// One entry of the display order. It names its stored row by stable id, which is
// the stored row's index in the store.
struct GridRowItem {
    // SHOWN_ODD: an odd number of shown rows stands above; kept with the layout.
    enum : uint8_t { HIDDEN = 1, SELECTED = 2, FOUND = 4, SHOWN_ODD = 8 };
    static constexpr uint8_t kNoColumn = 255;
    int32_t id = 0;
    int32_t pos = 0;  // top edge within the data area; valid below the model's layout mark
    int16_t height = 0;
    uint8_t flags = 0;
    // The search's first matching cell: its column and the byte range of its shown text.
    uint8_t foundColumn = kNoColumn;
    uint16_t foundStart = 0;
    uint16_t foundEnd = 0;

    bool IsHidden() const { return flags & HIDDEN; }
    bool IsSelected() const { return flags & SELECTED; }
    bool IsFound() const { return flags & FOUND; }
    // The height the row takes on screen.
    int Extent() const { return IsHidden() ? 0 : height; }
};

// The grid's rows: the store of cells, indexed by stable id, and the display
// list over it. Every index taken here is a display index unless named an id.
class GridModel {
public:
    explicit GridModel(int defaultHeight = 18) : defaultHeight_(defaultHeight) {}
    ~GridModel() { Clear(); }
    GridModel(GridModel&&) noexcept = default;
    GridModel& operator=(GridModel&&) = delete;
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    void SetColumnCount(int count) { columns_ = count; }
    int GetColumnCount() const { return columns_; }
    int GetCount() const { return int(items_.size()); }
    bool IsRow(int row) const { return row >= 0 && row < GetCount(); }
    int GetDefaultHeight() const { return defaultHeight_; }

    // A new empty row at the end of the store and of the display; returns its display index.
    int Append();
    // A new empty row shown at display index `row`. It takes the stable id of the row it
    // is placed before (ids from there on grow by one); at the end it is appended.
    int Insert(int row);
    // Removes a row from store and display; the ids of rows stored after it drop by one.
    void Remove(int row);
    // Removes the given display rows (ascending, distinct) in one pass, renumbering the
    // ids of the rows that stay as Remove would one row at a time.
    void RemoveRows(const std::vector<int>& rows);
    void Clear();
    void Reserve(int rows);

    // Writable access counts as a change of the row (see Revision).
    Value& Cell(int row, int column)
    {
        StoredRow& stored = store_[items_[row].id];
        stored.revision = ++revisions_;
        return stored.cells[column];
    }
    const Value& Cell(int row, int column) const { return store_[items_[row].id].cells[column]; }
    int GetId(int row) const { return items_[row].id; }
    // Changes whenever the row's cells may have changed, and differs from every other row's:
    // what was made from a row's cells stays valid while its revision does.
    uint64_t Revision(int row) const { return store_[items_[row].id].revision; }
    // The row's cell storage: it stays with the row whatever moves, so it tells rows apart
    // (null while there are no columns).
    const Value* CellsOf(int row) const { return store_[items_[row].id].cells; }
    // The display index of a stable id, -1 when there is none; linear in the row count.
    int FindId(int id) const;

    const GridRowItem& Item(int row) const { return items_[row]; }
    bool IsHidden(int row) const { return items_[row].IsHidden(); }
    void SetHidden(int row, bool hidden);
    void SetHeight(int row, int height);
    // Search marks: FOUND with the cell to highlight (kNoColumn when none can be shown).
    void SetFound(int row, int column, size_t start, size_t end);
    void ClearFound(int row) { items_[row].flags &= uint8_t(~GridRowItem::FOUND); }

    // Selection: the rows' flags plus a running count.
    bool IsSelected(int row) const { return items_[row].IsSelected(); }
    void Select(int row, bool on);
    // Rows hidden by a search are left out when selecting: what the user cannot see is
    // not swept into a removal.
    void SelectRange(int from, int to, bool on);
    void ClearSelection();
    int GetSelectedCount() const { return selected_; }
    // Display indexes of the selected rows, top to bottom.
    std::vector<int> GetSelected() const;

    // Display order changes; stored rows and their ids stay where they are.
    void Swap(int a, int b);
    // Takes the row out and puts it back so that it ends up at display index `to`.
    void MoveItem(int from, int to);
    // Replaces the display order; `order` lists the current display indexes in their new order.
    void Reorder(const std::vector<int>& order);

    // Vertical layout: each row's top edge in the data area. It is kept lazily:
    // edits only lower a mark, and queries recompute from the mark onwards.
    int GetPos(int row);
    // Whether the row is at an odd position among the rows shown (hidden ones not counted).
    bool IsShownOdd(int row);
    int GetTotalHeight();
    // The visible row covering y (data-area coordinates), or -1.
    int RowAtY(int y);
    // The nearest row that is not hidden, searching from `row` in `step` direction; -1 when none.
    int NextVisible(int row, int step) const;

    const GridRowStyle* GetStyle(int row) const { return store_[items_[row].id].style; }
    void SetStyle(int row, const GridRowStyle& style);

private:
    // Plain pointers owned by the model (freed in FreeRow), so that removing a row
    // from the middle of a large store is a single memory move.
    struct StoredRow {
        Value* cells = nullptr;
        GridRowStyle* style = nullptr;  // rarely set, so kept out of line
        uint64_t revision = 0;
    };

    StoredRow MakeRow();
    static void FreeRow(StoredRow& row);
    void MakeRoom();
    void Touch(int row) { if (row < layoutValid_) layoutValid_ = row; }
    void UpdateLayout(int upTo);
    // Places a row under the one above it: top edge and shown-position parity.
    void PlaceAfterPrevious(int row);

    std::vector<StoredRow> store_;
    std::vector<GridRowItem> items_;
    int columns_ = 0;
    int selected_ = 0;
    int defaultHeight_;
    int layoutValid_ = 0;  // rows below this index have a valid pos
    uint64_t revisions_ = 0;  // the last revision handed out
};
