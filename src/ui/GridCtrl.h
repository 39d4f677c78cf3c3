#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QAbstractScrollArea>

#include "core/Value.h"
#include "ui/Bar.h"
#include "ui/GridColumn.h"
#include "ui/GridModel.h"

class GridPopUp;
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

    // ---- Toolbar (GridTools.cpp). It is rebuilt through WhenToolBar at the next
    // layout after a setting that affects it changed.
    void StdToolBar(Bar& bar);
    // The check items of the "Find options" menu; choosing one toggles its setting.
    void FindOptionsMenu(Bar& bar);
    // The toolbar as it is now (rebuilt first when a rebuild is due); null while off.
    GridToolBar* GetToolBar();
    QLineEdit& GetFindField();

    // ---- Searching (GridSearch.cpp).
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

    // ---- Sorting (GridSort.cpp); the display order only.
    // What a caption click does: none -> ascending -> descending -> none. With `add`
    // (Ctrl) and multi-sorting on the column becomes a further key.
    void SortByCaption(int column, bool add);
    // The sort keys, first key first; a column's state is GridColumn::GetSortState().
    const std::vector<int>& GetSortKeys() const { return sortKeys_; }
    // Sorts again by the current keys (or back to the order of addition without keys).
    void Resort();

    // ---- Dragging rows (GridDrag.cpp).
    // Drops the dragged rows just after display row `after` (-1: before the first row),
    // as releasing a row drag there does; false when nothing moved.
    bool DropRows(int after);
    // The floating text shown while dragging to just after `after`.
    String DragText(int after) const;
    bool IsDragging() const { return dragging_; }

    // ---- Resizing (GridInput.cpp).
    // Moves the border between a visible column and the next visible one to the given
    // pixel width of the column; the other columns keep their widths.
    bool ResizeColumn(int column, int pixels);
    void SetRowHeight(int row, int height);
    int GetRowHeight(int row) const { return model_.IsRow(row) ? model_.Item(row).height : 0; }

    // ---- Column layout (GridLayout.cpp): widths and hidden flags.
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
    void DoRemove();
    bool IsNewRow() const { return inserted_ || appended_; }
    bool IsInsertedRow() const { return inserted_; }
    bool IsAppendedRow() const { return appended_; }
    bool IsRemovingFirst() const { return removingFirst_; }
    bool IsRemovingLast() const { return removingLast_; }
    bool IsEditing() const { return editRow_ >= 0; }
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
    bool viewportEvent(QEvent* event) override;

private:
    GridCtrl& Changed();
    static void Run(const std::function<void()>& action) { if (action) action(); }

    // Layout (GridCtrl.cpp).
    void SyncLayout();
    void LayoutColumns();
    int DataHeight() const;
    int DataTop() const { return kCaptionHeight; }
    int ScrollPos() const;

    // Cursor (GridCtrl.cpp).
    bool MoveCursor(int row, bool notifyEvenIfSame);
    void NotifyCursor() { Run(WhenCursor); }
    int PageRows() const;
    int ClampRow(int row) const;
    void AppendRow(std::vector<Value>* values, const std::vector<Value>* copy, int from);

    // Painting (GridPaint.cpp).
    void PaintCaption(QPainter& painter);
    void PaintRows(QPainter& painter, const QRect& dirty);
    void PaintRow(QPainter& painter, int row, int top);
    void PaintCellText(QPainter& painter, const QRect& rect, const GridColumn& column, const Value& value,
                       const GridRowItem* found = nullptr);
    void PaintSortMark(QPainter& painter, int column, QRect& text);
    void PaintDropMarker(QPainter& painter);

    // Editing, new rows, removal, moving (GridEdit.cpp).
    bool BeginEdit(int row);
    void PlaceEditors();
    void HideEditors();
    void AddNewRow(bool insert, bool edit);
    void RemoveRows(const std::vector<int>& rows, bool marks);
    void MoveRows(int step);
    bool FocusNextEditor(bool forward);

    // Toolbar (GridTools.cpp).
    void ScheduleToolBar();
    void SyncToolBar();
    void PlaceToolBar();
    uint32_t ToolBarSignature() const;
    void PopUpFindOptions();
    QPushButton& GetCloseButton();

    // Searching (GridSearch.cpp).
    void RunSearch(const String& text);
    void ShowAllRows();
    void LeaveHiddenCursorRow();

    // Sorting (GridSort.cpp).
    void ApplyOrder(std::vector<int>& order);

    // Dragging (GridDrag.cpp).
    int DropAfterRow(const QPoint& pos);
    void UpdateDrag(const QPoint& pos, const QPoint& globalPos);
    void EndDrag(const QPoint& pos);
    void SetDropMarker(int y);

    // Resizing (GridInput.cpp).
    bool StartResize(const QPoint& pos);
    int ColumnBorderAt(const QPoint& pos) const;
    int RowBorderAt(const QPoint& pos);
    int NextVisibleColumn(int column) const;

    // Input (GridInput.cpp).
    bool HandleKey(KeyCode key);
    void MoveByKey(int row, bool extend);
    void ClickRow(int row, int column, Qt::KeyboardModifiers modifiers);
    void PressEnter();
    void PopUpMenuAt(const QPoint& globalPos);
    bool TabToCell(bool forward);

    GridSettings settings_;
    int indicatorWidth_ = 8;
    std::deque<GridColumn> columns_;  // deque: handed-out column references stay valid
    GridModel model_;

    int cursorRow_ = -1;
    int cursorCol_ = -1;
    int anchorRow_ = -1;  // where Shift-selection ranges start
    int currentRow_ = -1;  // the row being edited or removed, for Get(column)
    int editRow_ = -1;
    int editColumn_ = -1;  // the editor holding the keyboard focus
    bool inserted_ = false;
    bool appended_ = false;
    bool removingFirst_ = false;
    bool removingLast_ = false;
    bool removing_ = false;
    bool clearSelectionOnRelease_ = false;

    bool layoutDirty_ = true;
    bool scrollToLastPending_ = false;
    int laidOutWidth_ = -1;
    bool painting_ = false;
    bool updatePending_ = false;
    // Toolbar and searching.
    GridToolBar* toolBar_ = nullptr;
    QLineEdit* findField_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    uint32_t toolBarBuilt_ = 0;  // ToolBarSignature() of the last build, 0 = none
    bool toolBarPending_ = false;
    bool toolBarForce_ = false;
    bool searchActive_ = false;  // a non-empty search has marked rows

    // Sorting, dragging, resizing.
    std::vector<int> sortKeys_;
    int captionPress_ = -1;  // column whose caption the left button went down on
    QPoint pressPos_;
    bool pressOnRow_ = false;
    bool dragging_ = false;
    int dropMarkerY_ = -1;
    GridPopUp* popUp_ = nullptr;
    enum class Resize { None, Column, Row } resizing_ = Resize::None;
    int resizeIndex_ = -1;
    int resizeStart_ = 0;  // the column's width or the row's height when the drag began
    QPoint resizeFrom_;

    mutable Value scratch_;
    GridColumn noColumn_{String(), 0, false};  // handed out when a column cannot be added
};
