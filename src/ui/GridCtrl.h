#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include <QAbstractScrollArea>

#include "core/Value.h"
#include "ui/Bar.h"
#include "ui/GridColumn.h"
#include "ui/GridModel.h"

class GridToolBar;
class QLineEdit;
class QPainter;
class QPushButton;
class Stream;

// The grid's switches; GridCtrl's setters of the same names change them.
struct GridSettings {
    bool selectRow = true;
    bool multiSelect = false;
    bool indicator = false;
    bool resizingCols = true;
    bool resizingRows = false;
    bool resizingFromCells = false;
    bool draggingRows = false;
    bool sorting = true;
    bool multiSorting = true;
    bool keepLastRow = false;
    bool tabChangesRow = false;
    bool removeNewRowOnCancel = true;
    bool horzGrid = true;
    bool vertGrid = false;
    bool alternatingRows = false;
    // The grid's own toolbar and its groups.
    bool toolBar = false;
    bool toolBarOnTop = false;
    bool appendButton = false;
    bool editButton = false;
    bool removeButton = false;
    bool findGroup = false;
    bool moveButtons = false;
    bool navigationButtons = false;
    bool closeButton = false;
    // Searching from the toolbar's find field.
    bool immediateSearch = true;
    bool searchHideRows = true;
    bool searchHighlight = false;
    bool searchCaseSensitive = true;
};

enum class GridEdge { Bottom, Top };

// The table control: custom-drawn rows over its own row store. Rows are addressed
// by display index (what the user sees, top to bottom, data rows only) and carry a
// stable id, their index in the store. Columns are data columns only.
//
// The grid itself keeps the columns, the rows (GridModel), the settings, the cursor
// and the layout. Each further concern is a part with its own state: the caption row
// with sorting and resizing (GridHeader), the edit session with the new-row and
// removal marks (GridEditSession), the search (GridSearch) and row dragging
// (GridRowDrag).
class GridCtrl : public QAbstractScrollArea {
public:
    static constexpr int kCaptionHeight = 20;
    static constexpr int kRowHeight = 18;

    explicit GridCtrl(QWidget* parent = nullptr);
    ~GridCtrl() override;

    // ---- Building, while the grid has no rows.
    // Refused once rows exist: the last column comes back unchanged.
    GridColumn& AddColumn(const String& caption, int width = 1, bool index = false);
    int GetColumnCount() const { return int(columns_.size()); }
    GridColumn& GetColumn(int column) { return columns_[column]; }
    const GridColumn& GetColumn(int column) const { return columns_[column]; }
    // Shows or hides a column; the last visible column cannot be hidden.
    bool HideColumn(int column, bool hidden);

    // ---- Settings.
    const GridSettings& Settings() const { return settings_; }
    GridCtrl& SelectRow(bool on) { settings_.selectRow = on; return Changed(); }
    GridCtrl& MultiSelect(bool on) { settings_.multiSelect = on; return Changed(); }
    GridCtrl& Indicator(bool on, int width = 8);
    GridCtrl& ResizingCols(bool on) { settings_.resizingCols = on; return Changed(); }
    GridCtrl& ResizingRows(bool on) { settings_.resizingRows = on; return Changed(); }
    GridCtrl& ResizingFromCells(bool on) { settings_.resizingFromCells = on; return Changed(); }
    GridCtrl& DraggingRows(bool on) { settings_.draggingRows = on; return Changed(); }
    GridCtrl& Sorting(bool on) { settings_.sorting = on; return Changed(); }
    GridCtrl& MultiSorting(bool on) { settings_.multiSorting = on; return Changed(); }
    GridCtrl& KeepLastRow(bool on) { settings_.keepLastRow = on; return Changed(); }
    GridCtrl& TabChangesRow(bool on) { settings_.tabChangesRow = on; return Changed(); }
    GridCtrl& RemoveNewRowOnCancel(bool on) { settings_.removeNewRowOnCancel = on; return Changed(); }
    GridCtrl& HorzGrid(bool on) { settings_.horzGrid = on; return Changed(); }
    GridCtrl& VertGrid(bool on) { settings_.vertGrid = on; return Changed(); }
    GridCtrl& AlternatingRows(bool on) { settings_.alternatingRows = on; return Changed(); }
    GridCtrl& AppendButton(bool on) { settings_.appendButton = on; return Changed(); }
    GridCtrl& EditButton(bool on) { settings_.editButton = on; return Changed(); }
    GridCtrl& RemoveButton(bool on) { settings_.removeButton = on; return Changed(); }
    GridCtrl& FindGroup(bool on) { settings_.findGroup = on; return Changed(); }
    GridCtrl& MoveButtons(bool on) { settings_.moveButtons = on; return Changed(); }
    GridCtrl& NavigationButtons(bool on) { settings_.navigationButtons = on; return Changed(); }
    GridCtrl& CloseButton(bool on) { settings_.closeButton = on; return Changed(); }
    GridCtrl& ImmediateSearch(bool on) { settings_.immediateSearch = on; return Changed(); }
    GridCtrl& SearchHideRows(bool on) { settings_.searchHideRows = on; return Changed(); }
    GridCtrl& SearchHighlight(bool on) { settings_.searchHighlight = on; return Changed(); }
    GridCtrl& SearchCaseSensitive(bool on) { settings_.searchCaseSensitive = on; return Changed(); }
    // The preset both list grids start from (kinds 2 and 3 differ in nothing visible).
    GridCtrl& ListStyle(int kind, bool buttons, bool toolbar);
    GridCtrl& SetToolBar(bool on, GridEdge edge = GridEdge::Bottom);
    // The word used in command texts ("Delete active %s."), translated when shown.
    String GetItemName() const;
    // Shows the grid's own texts (toolbar tooltips, the Close button) in the current
    // language; run when the grid hears that the language changed (GridRetranslate.cpp).
    void Retranslate();

    // ---- Toolbar. It is rebuilt through WhenToolBar at the next
    // layout after a setting that affects it changed.
    void StdToolBar(Bar& bar);
    // The check items of the "Find options" menu; choosing one toggles its setting.
    void FindOptionsMenu(Bar& bar);
    // The toolbar as it is now (rebuilt first when a rebuild is due); null while off.
    GridToolBar* GetToolBar();
    QLineEdit& GetFindField();

    // ---- Searching.
    // Sets the find field's text; with immediate search on this searches at once.
    void SetFindText(const String& text);
    String GetFindText() const;
    // Searches with the find field's text now (the Find button).
    void DoFind();
    // Whether a row holds the search text, and where (column, byte range of the shown
    // text); false when the row has no match or no search is active.
    bool GetFound(int row, int* column = nullptr, int* start = nullptr, int* end = nullptr) const;
    // The search options as the menu toggles them, with their effects on the rows.
    void ToggleImmediateSearch();
    void ToggleSearchHideRows();
    void ToggleSearchHighlight();
    void ToggleSearchCaseSensitive();

    // ---- Sorting; the display order only.
    // What a caption click does: none -> ascending -> descending -> none. With `add`
    // (Ctrl) and multi-sorting on the column becomes a further key.
    void SortByCaption(int column, bool add);
    // The sort keys, first key first; a column's state is GridColumn::GetSortState().
    const std::vector<int>& GetSortKeys() const;
    // Sorts again by the current keys (or back to the order of addition without keys).
    void Resort();

    // ---- Dragging rows.
    // Drops the dragged rows just after display row `after` (-1: before the first row),
    // as releasing a row drag there does; false when nothing moved.
    bool DropRows(int after);
    // The floating text shown while dragging to just after `after`.
    String DragText(int after) const;
    bool IsDragging() const;

    // ---- Resizing.
    // Moves the border between a visible column and the next visible one to the given
    // pixel width of the column; the other columns keep their widths.
    bool ResizeColumn(int column, int pixels);
    void SetRowHeight(int row, int height);
    int GetRowHeight(int row) const { return model_.IsRow(row) ? model_.Item(row).height : 0; }

    // ---- Column layout: widths and hidden flags.
    String StoreLayout() const;
    // False, leaving the grid as it was, for a damaged layout or one of other columns.
    bool LoadLayout(const String& data);
    // Stores or loads the layout as one length-prefixed block of the stream. A refused
    // block leaves the grid as it was and the stream usable; the result tells.
    bool SerializeLayout(Stream& stream);

    // ---- Data.
    // Appends a row: cell i takes values[i] for i from `from` on; extra values are ignored.
    void Add(const std::vector<Value>& values, int from = 0);
    void Add(std::vector<Value>&& values, int from = 0);
    void Add();
    // Puts a filled row at display index `row` (at the end for GetCount()) and leaves
    // the cursor on the row it was on; the rows from there on move down one place.
    // Returns the new row's display index.
    int InsertRow(int row, std::vector<Value>&& values);
    int GetCount() const { return model_.GetCount(); }
    // A cell by display row; out-of-range access yields a scratch Null, never a crash.
    Value& Get(int row, int column);
    // A cell of the current row: the row being edited or removed, else the cursor row.
    const Value& Get(int column) const;
    void Set(int column, const Value& value);
    void Set(int row, int column, const Value& value);
    // The current row (see Get(column)) by display index or stable id; -1 when none.
    int GetCurrentRow(bool byId = false) const;
    // The stable id of a display row, and back; -1 when there is none.
    int GetRowId(int row) const;
    int FindRowById(int id) const { return model_.FindId(id); }
    void Clear();
    void Reserve(int rows) { model_.Reserve(rows); }

    // ---- Row look: the playing row's highlight uses these; Reset restores the defaults.
    void SetRowStyle(int row, const GridRowStyle& style);
    void ResetRowStyle(int row) { SetRowStyle(row, {}); }
    const GridRowStyle* GetRowStyle(int row) const;
    void RefreshRow(int row);
    void Refresh();

    // ---- Cursor and selection.
    int GetCursor(bool byId = false) const;
    bool IsCursor() const { return GetCursor() >= 0; }
    // Moves the cursor (accepting any edit); false when the row is not a valid target.
    bool SetCursor(int row);
    bool GoFirst();
    bool GoLast();
    bool GoNext();
    bool GoPrev();
    // The row GoNext would move the cursor to (the first shown row without a cursor); -1 below the last shown row.
    int NextShownRow() const;
    void ScrollToRow(int row);
    bool IsSelected(int row) const { return model_.IsRow(row) && model_.IsSelected(row); }
    int GetSelectedCount() const { return model_.GetSelectedCount(); }
    void Select(int row, bool on = true);
    void ClearSelection();
    void SelectAll();
    // The first row shown at the top of the data area.
    int GetFirstVisibleRow();

    // ---- New rows, editing, removal, moving.
    void DoInsert();
    void DoAppend();
    void DoAppendNoEdit();
    // The Delete command: the selected rows, else the cursor row. WhenRemoveRow runs for
    // each row from the top, with that row current: Get(column) reads its cells, and
    // GetCurrentRow tells its index and stable id as they are once the rows removed
    // before it are gone. The rows leave the display together after the last callback.
    void DoRemove();
    bool IsNewRow() const;
    bool IsInsertedRow() const;
    bool IsAppendedRow() const;
    bool IsRemovingFirst() const;
    bool IsRemovingLast() const;
    // From WhenRemoveRow: the row stays, and so do the rows after it in a removal
    // of selected rows, because the owner could not let it go (its record could
    // not be deleted).
    void KeepRemovedRow();
    // From WhenInsertRow or WhenUpdateRow: the owner could not store the edit.
    // An edited row gets back the cells it had before the edit; a new row is
    // removed again, as cancelling its edit would remove it.
    void RevertEdit();
    bool IsEditing() const;
    // The Edit command: ends any edit and edits the cursor row; false when nothing is editable.
    bool StartEdit();
    // Writes the editors back and tells the owner; false when no edit was in progress.
    bool AcceptEdit();
    void CancelEdit();
    void MoveRowUp() { MoveRows(-1); }
    void MoveRowDown() { MoveRows(1); }
    bool CanRemove() const;

    // ---- Menu items lent to the owner's menu, and the grid's own menu.
    void RemoveMenuItem(Bar& bar);
    void MoveMenuItems(Bar& bar);
    void SelectAllMenuItem(Bar& bar);
    void ColumnsMenuItem(Bar& bar);
    void StdMenuBar(Bar& bar);
    // Runs the menu entry that WhenMenuBar would show for the key; true when one ran.
    bool OfferKey(KeyCode key);

    // ---- Callbacks; an empty one does nothing.
    std::function<void(Bar&)> WhenMenuBar;
    std::function<void(Bar&)> WhenToolBar;
    std::function<void()> WhenLeftDouble;
    std::function<void()> WhenLeftClick;
    std::function<void()> WhenEnter;
    std::function<void()> WhenUpdateRow;
    std::function<void()> WhenInsertRow;
    std::function<void()> WhenRemoveRow;
    std::function<void()> WhenNewRow;
    std::function<void()> WhenCursor;
    // Runs once after a user action changed the display order: Move up or Move down
    // (MoveRowUp, MoveRowDown), a drop of dragged rows (DropRows) and a caption click
    // that sorted (SortByCaption). Refused moves and sorts that leave every row in
    // place do not run it. The owner can store the new order from here.
    std::function<void()> WhenReorder;
    std::function<void()> InsertAction;
    std::function<void()> AppendAction;
    std::function<void()> RemoveAction;

    // ---- Geometry, for painting, hit tests and tests.
    int GetFixedWidth() const { return settings_.indicator ? indicatorWidth_ : 0; }
    // The rectangle of a data cell in viewport coordinates (empty when not laid out).
    QRect GetCellRect(int row, int column);
    // The row under a viewport point, -1 for the caption row or empty space.
    int RowAtPoint(const QPoint& pos);
    int ColumnAtPoint(const QPoint& pos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The parts of the grid, each owning the state of one concern (see GridPrivate.h).
    friend class GridHeader;
    friend class GridEditSession;
    friend class GridSearch;
    friend class GridRowDrag;
    struct Private;

    GridCtrl& Changed();
    static void Run(const std::function<void()>& action) { if (action) action(); }

    // Layout.
    void SyncLayout();
    void LayoutColumns();
    int DataHeight() const;
    int DataTop() const { return kCaptionHeight; }
    int ScrollPos() const;

    // Cursor and order.
    bool MoveCursor(int row, bool notifyEvenIfSame);
    void NotifyCursor() { Run(WhenCursor); }
    int PageRows() const;
    int ClampRow(int row) const;
    void AppendRow(std::vector<Value>* values, const std::vector<Value>* copy, int from);
    // Where Get(column) reads: the row of a running callback or edit, else the cursor row.
    int CellRow() const;
    // Puts the rows in the given order (current display indexes); false when nothing moved.
    bool ApplyOrder(const std::vector<int>& order);
    void MoveRows(int step);

    // Painting of the data rows (GridPaint.cpp).
    void PaintRows(QPainter& painter, const QRect& dirty);
    void PaintRow(QPainter& painter, int row, int top);
    void PaintCellText(QPainter& painter, const QRect& rect, const GridColumn& column, const Value& value,
                       const GridRowItem* found = nullptr);

    // Toolbar (GridTools.cpp).
    void ScheduleToolBar();
    void SyncToolBar();
    void PlaceToolBar();
    uint32_t ToolBarSignature() const;
    void PopUpFindOptions();
    QPushButton& GetCloseButton();

    // Keys and mouse (GridInput.cpp).
    bool HandleKey(KeyCode key);
    void MoveByKey(int row, bool extend);
    void ClickRow(int row, int column, Qt::KeyboardModifiers modifiers);
    void RightClick(int row, int column, const QPoint& globalPos);
    void PressEnter();
    void PopUpMenuAt(const QPoint& globalPos);
    bool TabToCell(bool forward);

    GridSettings settings_;
    int indicatorWidth_ = 8;
    std::deque<GridColumn> columns_;  // deque: handed-out column references stay valid
    GridModel model_;
    std::unique_ptr<Private> d_;  // the cursor, layout bookkeeping, toolbar and the parts
    mutable Value scratch_;
    GridColumn noColumn_{String(), 0, false};  // handed out when a column cannot be added
};
