// Keys and mouse buttons of the grid.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "ui/GridCtrl.h"

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
        if (row >= 0)
            ClickRow(row, column, event->modifiers());
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

void GridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && clearSelectionOnRelease_) {
        clearSelectionOnRelease_ = false;
        ClearSelection();
    }
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
