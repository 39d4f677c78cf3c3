// The grid's own state: building, settings, data, layout, cursor and selection.

#include "ui/GridCtrl.h"

#include <algorithm>

#include <QScrollBar>
#include <QSignalBlocker>

#include "ui/GridPrivate.h"
#include "ui/Translate.h"

GridCtrl::GridCtrl(QWidget* parent)
    : QAbstractScrollArea(parent), model_(kRowHeight), d_(std::make_unique<Private>(*this))
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);

    WhenMenuBar = [this](Bar& bar) { StdMenuBar(bar); };
    WhenToolBar = [this](Bar& bar) { StdToolBar(bar); };
    InsertAction = [this] { DoInsert(); };
    AppendAction = [this] { DoAppend(); };
    RemoveAction = [this] { DoRemove(); };
}

GridCtrl::~GridCtrl()
{
    // Editors belong to the owner: give them back rather than let the viewport delete them.
    for (GridColumn& column : columns_) {
        QWidget* editor = column.editor_.widget;
        if (editor && editor->parentWidget() == viewport()) {
            editor->hide();
            editor->removeEventFilter(this);
            editor->setParent(nullptr);
        }
    }
}

GridCtrl& GridCtrl::Changed()
{
    d_->layoutDirty = true;
    viewport()->update();
    ScheduleToolBar();
    return *this;
}

// ---- Building and settings

GridColumn& GridCtrl::AddColumn(const String& caption, int width, bool index)
{
    if (GetCount() > 0)
        return columns_.empty() ? noColumn_ : columns_.back();
    GridColumn& column = columns_.emplace_back(caption, std::max(width, 0), index);
    model_.SetColumnCount(GetColumnCount());
    Changed();
    return column;
}

bool GridCtrl::HideColumn(int column, bool hidden)
{
    if (column < 0 || column >= GetColumnCount())
        return false;
    if (hidden && !columns_[column].hidden_) {
        const auto visible = std::count_if(columns_.begin(), columns_.end(),
                                           [](const GridColumn& c) { return !c.hidden_; });
        if (visible <= 1)
            return false;
    }
    columns_[column].hidden_ = hidden;
    Changed();
    SyncLayout();
    d_->edit.PlaceEditors();
    return true;
}

GridCtrl& GridCtrl::Indicator(bool on, int width)
{
    settings_.indicator = on;
    indicatorWidth_ = std::max(width, 0);
    return Changed();
}

GridCtrl& GridCtrl::ListStyle(int /*kind*/, bool buttons, bool toolbar)
{
    settings_.selectRow = true;
    settings_.multiSelect = true;
    settings_.sorting = true;
    settings_.resizingCols = true;
    settings_.resizingRows = false;
    settings_.draggingRows = false;
    settings_.removeNewRowOnCancel = true;
    settings_.alternatingRows = true;
    settings_.findGroup = true;
    settings_.navigationButtons = true;
    if (buttons) {
        settings_.appendButton = true;
        settings_.editButton = true;
        settings_.removeButton = true;
        settings_.moveButtons = true;
    }
    if (toolbar)
        SetToolBar(true, GridEdge::Bottom);
    return Changed();
}

GridCtrl& GridCtrl::SetToolBar(bool on, GridEdge edge)
{
    settings_.toolBar = on;
    settings_.toolBarOnTop = edge == GridEdge::Top;
    d_->toolBarForce = true;  // also picks up a WhenToolBar the owner has replaced
    return Changed();
}

String GridCtrl::GetItemName() const { return Translate("row"); }

// ---- Data

void GridCtrl::AppendRow(std::vector<Value>* values, const std::vector<Value>* copy, int from)
{
    const int row = model_.Append();
    const std::vector<Value>& source = values ? *values : *copy;
    const int end = std::min(int(source.size()), GetColumnCount());
    for (int i = std::max(from, 0); i < end; ++i) {
        if (values)
            model_.Cell(row, i) = std::move((*values)[i]);
        else
            model_.Cell(row, i) = source[i];
    }
    // Scrolling waits for the next layout, so that bulk filling stays cheap.
    d_->scrollToLastPending = true;
    if (!d_->updatePending) {
        d_->updatePending = true;
        viewport()->update();
    }
}

void GridCtrl::Add(const std::vector<Value>& values, int from) { AppendRow(nullptr, &values, from); }

void GridCtrl::Add(std::vector<Value>&& values, int from) { AppendRow(&values, nullptr, from); }

void GridCtrl::Add()
{
    const std::vector<Value> none;
    AppendRow(nullptr, &none, 0);
}

int GridCtrl::InsertRow(int row, std::vector<Value>&& values)
{
    // An open editor would stay over the row that moved away from under it.
    AcceptEdit();
    const bool atEnd = row < 0 || row >= GetCount();
    row = atEnd ? model_.Append() : model_.Insert(row);
    const int end = std::min(int(values.size()), GetColumnCount());
    for (int i = 0; i < end; ++i)
        model_.Cell(row, i) = std::move(values[i]);
    if (!atEnd) {
        if (d_->cursorRow >= row)
            ++d_->cursorRow;
        if (d_->anchorRow >= row)
            ++d_->anchorRow;
    }
    if (!d_->updatePending) {
        d_->updatePending = true;
        viewport()->update();
    }
    return row;
}

Value& GridCtrl::Get(int row, int column)
{
    if (!model_.IsRow(row) || column < 0 || column >= GetColumnCount()) {
        scratch_ = Value();
        return scratch_;
    }
    return model_.Cell(row, column);
}

int GridCtrl::CellRow() const
{
    const int row = d_->edit.CellRow();
    return row >= 0 ? row : GetCursor();
}

const Value& GridCtrl::Get(int column) const
{
    const int row = CellRow();
    if (row < 0 || column < 0 || column >= GetColumnCount()) {
        scratch_ = Value();
        return scratch_;
    }
    return model_.Cell(row, column);
}

void GridCtrl::Set(int column, const Value& value) { Set(CellRow(), column, value); }

void GridCtrl::Set(int row, int column, const Value& value)
{
    if (!model_.IsRow(row) || column < 0 || column >= GetColumnCount())
        return;
    model_.Cell(row, column) = value;
    RefreshRow(row);
}

int GridCtrl::GetCurrentRow(bool byId) const
{
    const int current = d_->edit.CurrentRow(byId);
    return current >= 0 ? current : GetCursor(byId);
}

int GridCtrl::GetRowId(int row) const { return model_.IsRow(row) ? model_.GetId(row) : -1; }

void GridCtrl::Clear()
{
    d_->edit.Drop();
    model_.Clear();
    d_->cursorRow = -1;
    d_->anchorRow = -1;
    viewport()->update();
}

void GridCtrl::SetRowStyle(int row, const GridRowStyle& style)
{
    if (!model_.IsRow(row))
        return;
    model_.SetStyle(row, style);
    RefreshRow(row);
}

const GridRowStyle* GridCtrl::GetRowStyle(int row) const
{
    return model_.IsRow(row) ? model_.GetStyle(row) : nullptr;
}

void GridCtrl::RefreshRow(int row)
{
    if (!model_.IsRow(row) || model_.IsHidden(row))
        return;
    const int top = DataTop() + model_.GetPos(row) - ScrollPos();
    const int height = model_.Item(row).Extent();
    if (top + height <= DataTop() || top >= viewport()->height())
        return;
    viewport()->update(0, top, viewport()->width(), height);
}

void GridCtrl::Refresh() { viewport()->update(); }

// ---- Layout

int GridCtrl::DataHeight() const { return std::max(viewport()->height() - DataTop(), 0); }

int GridCtrl::ScrollPos() const { return verticalScrollBar()->value(); }

void GridCtrl::LayoutColumns()
{
    const int fixed = GetFixedWidth();
    const int available = std::max(viewport()->width() - fixed, 0);
    long total = 0;
    for (const GridColumn& column : columns_)
        if (!column.hidden_)
            total += column.GetWeight();
    // Edges come from the running sum, so the visible columns fill the width exactly.
    long sum = 0;
    int x = fixed;
    for (GridColumn& column : columns_) {
        column.x_ = x;
        if (column.hidden_ || total == 0) {
            column.pixelWidth_ = 0;
            continue;
        }
        sum += column.GetWeight();
        const int right = fixed + int(available * sum / total);
        column.pixelWidth_ = right - x;
        x = right;
    }
}

void GridCtrl::SyncLayout()
{
    if (d_->layoutDirty || d_->laidOutWidth != viewport()->width()) {
        LayoutColumns();
        d_->laidOutWidth = viewport()->width();
        d_->layoutDirty = false;
    }
    QScrollBar* bar = verticalScrollBar();
    const int maximum = std::max(model_.GetTotalHeight() - DataHeight(), 0);
    const int before = bar->value();
    {
        const QSignalBlocker blocker(bar);
        bar->setRange(0, maximum);
        bar->setPageStep(std::max(DataHeight(), 1));
        bar->setSingleStep(kRowHeight);
        if (d_->scrollToLastPending)
            bar->setValue(maximum);
    }
    d_->scrollToLastPending = false;
    if (bar->value() != before && !d_->painting) {
        viewport()->update();
        d_->edit.PlaceEditors();
    }
}

QRect GridCtrl::GetCellRect(int row, int column)
{
    if (!model_.IsRow(row) || column < 0 || column >= GetColumnCount())
        return {};
    SyncLayout();
    const GridColumn& c = columns_[column];
    const int top = DataTop() + model_.GetPos(row) - ScrollPos();
    return QRect(c.x_, top, c.pixelWidth_, model_.Item(row).Extent());
}

int GridCtrl::RowAtPoint(const QPoint& pos)
{
    SyncLayout();
    if (pos.y() < DataTop())
        return -1;
    return model_.RowAtY(pos.y() - DataTop() + ScrollPos());
}

int GridCtrl::ColumnAtPoint(const QPoint& pos) const
{
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& c = columns_[i];
        if (!c.hidden_ && pos.x() >= c.x_ && pos.x() < c.x_ + c.pixelWidth_)
            return i;
    }
    return -1;
}

void GridCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    PlaceToolBar();
    d_->layoutDirty = true;
    SyncLayout();
    d_->edit.PlaceEditors();
}

void GridCtrl::scrollContentsBy(int, int)
{
    viewport()->update();
    d_->edit.PlaceEditors();
}

// ---- Cursor and selection

int GridCtrl::GetCursor(bool byId) const
{
    if (!model_.IsRow(d_->cursorRow))
        return -1;
    return byId ? model_.GetId(d_->cursorRow) : d_->cursorRow;
}

int GridCtrl::ClampRow(int row) const { return std::clamp(row, 0, std::max(GetCount() - 1, 0)); }

bool GridCtrl::MoveCursor(int row, bool notifyEvenIfSame)
{
    if (!model_.IsRow(row))
        return false;
    // Moving away from the edited row accepts the edit; the owner's callback may change rows.
    if (IsEditing() && row != d_->edit.EditRow()) {
        const int id = model_.GetId(row);
        AcceptEdit();
        row = model_.FindId(id);
        if (row < 0)
            return false;
    }
    const int old = d_->cursorRow;
    d_->cursorRow = row;
    if (d_->cursorCol < 0 || d_->cursorCol >= GetColumnCount())
        d_->cursorCol = 0;
    ScrollToRow(row);
    RefreshRow(old);
    RefreshRow(row);
    if (old != row || notifyEvenIfSame)
        NotifyCursor();
    return true;
}

bool GridCtrl::SetCursor(int row) { return MoveCursor(row, false); }

bool GridCtrl::GoFirst() { return SetCursor(model_.NextVisible(0, 1)); }

bool GridCtrl::GoLast() { return SetCursor(model_.NextVisible(GetCount() - 1, -1)); }

bool GridCtrl::GoNext() { return SetCursor(NextShownRow()); }

int GridCtrl::NextShownRow() const { return model_.NextVisible(IsCursor() ? d_->cursorRow + 1 : 0, 1); }

bool GridCtrl::GoPrev() { return IsCursor() && SetCursor(model_.NextVisible(d_->cursorRow - 1, -1)); }

void GridCtrl::ScrollToRow(int row)
{
    if (!model_.IsRow(row) || model_.IsHidden(row))
        return;
    SyncLayout();
    const int top = model_.GetPos(row);
    const int bottom = top + model_.Item(row).Extent();
    QScrollBar* bar = verticalScrollBar();
    int value = bar->value();
    if (top < value)
        value = top;
    else if (bottom > value + DataHeight())
        value = bottom - DataHeight();
    bar->setValue(value);
}

int GridCtrl::GetFirstVisibleRow()
{
    SyncLayout();
    return model_.RowAtY(ScrollPos());
}

int GridCtrl::PageRows() const { return std::max(DataHeight() / kRowHeight - 1, 1); }

void GridCtrl::Select(int row, bool on)
{
    if (!model_.IsRow(row))
        return;
    model_.Select(row, on);
    RefreshRow(row);
}

void GridCtrl::ClearSelection()
{
    if (model_.GetSelectedCount() == 0)
        return;
    model_.ClearSelection();
    viewport()->update();
}

void GridCtrl::SelectAll()
{
    if (GetCount() == 0)
        return;
    model_.SelectRange(0, GetCount() - 1, true);
    viewport()->update();
}
