// Keys and mouse buttons of the grid.

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

#include "ui/GridCtrl.h"

namespace {
constexpr int kDragThreshold = 5;  // pixels the pointer moves before a press becomes a drag
constexpr int kBorderReach = 2;  // how near a border the pointer must be to resize
constexpr int kMinColumnWidth = 6;
constexpr int kMinRowHeight = 4;
constexpr int kMaxRowHeight = 1000;
}  // namespace

// ---- Keys

void GridCtrl::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(KeyFromEvent(*event)))
        event->accept();
    else
        event->ignore();
}

bool GridCtrl::HandleKey(KeyCode key)
{
    if (key == 0)
        return false;
    const bool extend = key & K_SHIFT;
    const KeyCode plain = key & ~K_SHIFT;  // the navigation keys read Shift as "extend"
    switch (plain) {
    case K_UP: MoveByKey(cursorRow_ - 1, extend); return true;
    case K_DOWN: MoveByKey(cursorRow_ + 1, extend); return true;
    case K_PAGEUP: MoveByKey(cursorRow_ - PageRows(), extend); return true;
    case K_PAGEDOWN: MoveByKey(cursorRow_ + PageRows(), extend); return true;
    case K_HOME:
    case K_HOME | K_CTRL: MoveByKey(0, extend); return true;
    case K_END:
    case K_END | K_CTRL: MoveByKey(GetCount() - 1, extend); return true;
    case K_LEFT:
    case K_RIGHT:
        // With the cursor covering whole rows there is nowhere to go sideways.
        if (settings_.selectRow)
            return true;
        break;
    default: break;
    }
    if (key == K_ENTER) {
        PressEnter();
        return true;
    }
    if (key == K_ESCAPE && IsEditing()) {
        CancelEdit();
        return true;
    }
    if (key == (K_CTRL | K_KEY('F')) && settings_.toolBar && settings_.findGroup) {
        GetToolBar();  // the field is placed by the toolbar's build
        GetFindField().setFocus(Qt::ShortcutFocusReason);
        GetFindField().selectAll();
        return true;
    }
    if (plain == K_TAB) {
        if (IsEditing())
            return FocusNextEditor(!extend);
        if (settings_.tabChangesRow)
            return TabToCell(!extend);
        return false;
    }
    return OfferKey(key);
}

void GridCtrl::MoveByKey(int row, bool extend)
{
    if (GetCount() == 0)
        return;
    const int from = cursorRow_;
    row = ClampRow(row);
    // Hidden rows are stepped over in the direction of travel.
    const int step = row < from ? -1 : 1;
    int visible = model_.NextVisible(row, step);
    if (visible < 0)
        visible = model_.NextVisible(row, -step);
    if (visible < 0)
        return;
    if (extend && settings_.multiSelect) {
        if (anchorRow_ < 0 || !model_.IsRow(anchorRow_))
            anchorRow_ = from >= 0 ? from : visible;
        if (!MoveCursor(visible, false))
            return;
        model_.ClearSelection();
        model_.SelectRange(anchorRow_, cursorRow_, true);
        viewport()->update();
        return;
    }
    ClearSelection();
    if (MoveCursor(visible, false))
        anchorRow_ = cursorRow_;
}

bool GridCtrl::TabToCell(bool forward)
{
    std::vector<int> visible;
    for (int i = 0; i < GetColumnCount(); ++i)
        if (!columns_[i].hidden_)
            visible.push_back(i);
    if (visible.empty() || GetCount() == 0)
        return false;
    if (!IsCursor())
        return SetCursor(0);
    const auto at = std::find(visible.begin(), visible.end(), cursorCol_);
    int index = at == visible.end() ? 0 : int(at - visible.begin());
    int row = cursorRow_;
    index += forward ? 1 : -1;
    if (index >= int(visible.size())) {
        index = 0;
        ++row;
    }
    else if (index < 0) {
        index = int(visible.size()) - 1;
        --row;
    }
    if (!model_.IsRow(row))
        return false;  // past either end the focus leaves the grid
    cursorCol_ = visible[index];
    if (row != cursorRow_)
        SetCursor(row);
    else
        RefreshRow(row);
    return true;
}

void GridCtrl::PressEnter()
{
    ClearSelection();
    QPointer<GridCtrl> alive(this);
    Run(WhenEnter);
    if (!alive)
        return;
    if (IsEditing())
        AcceptEdit();
    else
        StartEdit();
}

bool GridCtrl::OfferKey(KeyCode key)
{
    const std::function<void(Bar&)> builder = WhenMenuBar;  // an action may replace the callback
    return RunKey(builder, key);
}

bool GridCtrl::focusNextPrevChild(bool next)
{
    if (IsEditing())
        return FocusNextEditor(next);
    if (settings_.tabChangesRow && TabToCell(next))
        return true;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool GridCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == findField_) {
        if (event->type() == QEvent::KeyPress && KeyFromEvent(*static_cast<QKeyEvent*>(event)) == K_ENTER) {
            DoFind();
            return true;
        }
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    // Keys typed into an editor that the grid acts on: Enter, Esc, Tab.
    if (event->type() == QEvent::KeyPress && IsEditing()) {
        const KeyCode key = KeyFromEvent(*static_cast<QKeyEvent*>(event));
        if (key == K_ENTER || key == K_ESCAPE || (key & ~K_SHIFT) == K_TAB) {
            HandleKey(key);
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool GridCtrl::viewportEvent(QEvent* event) { return QAbstractScrollArea::viewportEvent(event); }

// ---- Mouse

void GridCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int row = RowAtPoint(pos);
    const int column = ColumnAtPoint(pos);
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (StartResize(pos))
            return;
        if (pos.y() < DataTop()) {
            captionPress_ = column;  // sorts on release, unless it turned into something else
            return;
        }
        if (row >= 0) {
            pressPos_ = pos;
            pressOnRow_ = true;
            ClickRow(row, column, event->modifiers());
        }
        return;
    }
    if (event->button() == Qt::RightButton) {
        if (row >= 0) {
            if (column >= 0)
                cursorCol_ = column;
            SetCursor(row);
        }
        setFocus(Qt::MouseFocusReason);
        PopUpMenuAt(event->globalPosition().toPoint());
    }
}

void GridCtrl::ClickRow(int row, int column, Qt::KeyboardModifiers modifiers)
{
    QPointer<GridCtrl> alive(this);
    if (column >= 0)
        cursorCol_ = column;
    if ((modifiers & Qt::ControlModifier) && settings_.multiSelect) {
        Select(row, !model_.IsSelected(row));
        anchorRow_ = row;
        SetCursor(row);
    }
    else if ((modifiers & Qt::ShiftModifier) && settings_.multiSelect) {
        if (!model_.IsRow(anchorRow_))
            anchorRow_ = IsCursor() ? cursorRow_ : row;
        const int anchor = anchorRow_;
        if (!SetCursor(row) || !alive)
            return;
        model_.ClearSelection();
        model_.SelectRange(anchor, cursorRow_, true);
        viewport()->update();
    }
    else {
        // The multi-selection goes on release, so that a press can still start a drag of it.
        clearSelectionOnRelease_ = true;
        if (!SetCursor(row) || !alive)
            return;
        anchorRow_ = cursorRow_;
    }
    if (alive)
        Run(WhenLeftClick);
}

void GridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (resizing_ == Resize::Column) {
        ResizeColumn(resizeIndex_, resizeStart_ + pos.x() - resizeFrom_.x());
        return;
    }
    if (resizing_ == Resize::Row) {
        SetRowHeight(resizeIndex_, resizeStart_ + pos.y() - resizeFrom_.y());
        return;
    }
    if (event->buttons() & Qt::LeftButton) {
        const QPoint moved = pos - pressPos_;
        if (pressOnRow_ && !dragging_ && settings_.draggingRows && !IsEditing() && IsCursor() &&
            (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold)) {
            dragging_ = true;
            clearSelectionOnRelease_ = false;  // the selection is what is being moved
        }
        if (dragging_)
            UpdateDrag(pos, event->globalPosition().toPoint());
        return;
    }
    // Hovering: show where a border can be taken.
    if (ColumnBorderAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else if (RowBorderAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitVCursor);
    else
        viewport()->unsetCursor();
}

void GridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int caption = captionPress_;
    captionPress_ = -1;
    pressOnRow_ = false;
    if (resizing_ != Resize::None) {
        resizing_ = Resize::None;
        return;
    }
    if (dragging_) {
        clearSelectionOnRelease_ = false;
        EndDrag(pos);
        return;
    }
    if (caption >= 0 && pos.y() < DataTop() && ColumnAtPoint(pos) == caption) {
        if (settings_.sorting)
            SortByCaption(caption, event->modifiers() & Qt::ControlModifier);
        return;
    }
    if (clearSelectionOnRelease_) {
        clearSelectionOnRelease_ = false;
        ClearSelection();
    }
}

// ---- Resizing columns and rows

int GridCtrl::NextVisibleColumn(int column) const
{
    for (int i = column + 1; i < GetColumnCount(); ++i)
        if (!columns_[i].hidden_)
            return i;
    return -1;
}

int GridCtrl::ColumnBorderAt(const QPoint& pos) const
{
    const bool inCaption = pos.y() < DataTop();
    if (inCaption ? !settings_.resizingCols : !(settings_.resizingFromCells && pos.x() >= GetFixedWidth()))
        return -1;
    // Only borders between two visible columns move: the last one is the grid's edge.
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& column = columns_[i];
        if (column.hidden_ || NextVisibleColumn(i) < 0)
            continue;
        if (std::abs(pos.x() - (column.x_ + column.pixelWidth_)) <= kBorderReach)
            return i;
    }
    return -1;
}

int GridCtrl::RowBorderAt(const QPoint& pos)
{
    if (!settings_.resizingRows || !settings_.indicator || pos.x() >= GetFixedWidth() || pos.y() < DataTop())
        return -1;
    const int row = RowAtPoint(pos);
    if (row < 0)
        return -1;
    const int top = DataTop() + model_.GetPos(row) - ScrollPos();
    const int bottom = top + model_.Item(row).Extent();
    if (bottom - pos.y() <= kBorderReach + 1)
        return row;
    if (pos.y() - top <= kBorderReach)
        return model_.NextVisible(row - 1, -1);  // the lower edge of the row above
    return -1;
}

bool GridCtrl::StartResize(const QPoint& pos)
{
    const int column = ColumnBorderAt(pos);
    if (column >= 0) {
        resizing_ = Resize::Column;
        resizeIndex_ = column;
        resizeStart_ = columns_[column].pixelWidth_;
    }
    else {
        const int row = RowBorderAt(pos);
        if (row < 0)
            return false;
        resizing_ = Resize::Row;
        resizeIndex_ = row;
        resizeStart_ = model_.Item(row).height;
    }
    resizeFrom_ = pos;
    return true;
}

bool GridCtrl::ResizeColumn(int column, int pixels)
{
    if (column < 0 || column >= GetColumnCount() || columns_[column].hidden_)
        return false;
    const int next = NextVisibleColumn(column);
    if (next < 0)
        return false;
    SyncLayout();
    // The weights become the present pixel widths, so the border lands where asked and
    // later changes of the grid's width still scale every column alike. Hidden columns
    // are scaled the same way, keeping their share for when they are shown again.
    long weights = 0;
    long available = 0;
    for (const GridColumn& c : columns_)
        if (!c.hidden_) {
            weights += c.GetWeight();
            available += c.pixelWidth_;
        }
    if (weights <= 0 || available <= 0)
        return false;
    const int pair = columns_[column].pixelWidth_ + columns_[next].pixelWidth_;
    if (pair < 2 * kMinColumnWidth)
        return false;
    for (GridColumn& c : columns_) {
        if (!c.hidden_)
            c.width_ = std::max(c.pixelWidth_, 1);
        else if (c.width_ > 0)
            c.width_ = std::max(int(c.width_ * available / weights), 1);
    }
    const int width = std::clamp(pixels, kMinColumnWidth, pair - kMinColumnWidth);
    columns_[column].width_ = width;
    columns_[next].width_ = pair - width;
    Changed();
    SyncLayout();
    PlaceEditors();
    return true;
}

void GridCtrl::SetRowHeight(int row, int height)
{
    if (!model_.IsRow(row))
        return;
    model_.SetHeight(row, std::clamp(height, kMinRowHeight, kMaxRowHeight));
    SyncLayout();
    viewport()->update();
    PlaceEditors();
}

void GridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = RowAtPoint(event->position().toPoint());
    if (row < 0)
        return;
    if (row != cursorRow_ && !SetCursor(row))
        return;
    QPointer<GridCtrl> alive(this);
    Run(WhenLeftDouble);
    if (alive && settings_.selectRow && !IsEditing())
        StartEdit();
}

void GridCtrl::PopUpMenuAt(const QPoint& globalPos)
{
    const std::function<void(Bar&)> builder = WhenMenuBar;
    if (builder)
        PopUpMenu(builder, globalPos);
}
