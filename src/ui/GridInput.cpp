// Keys and mouse buttons of the grid.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

#include "ui/GridPrivate.h"

namespace {
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
    case K_UP: MoveByKey(d_->cursorRow - 1, extend); return true;
    case K_DOWN: MoveByKey(d_->cursorRow + 1, extend); return true;
    case K_PAGEUP: MoveByKey(d_->cursorRow - PageRows(), extend); return true;
    case K_PAGEDOWN: MoveByKey(d_->cursorRow + PageRows(), extend); return true;
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
            return d_->edit.FocusNextEditor(!extend);
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
    const int from = d_->cursorRow;
    row = ClampRow(row);
    // Hidden rows are stepped over in the direction of travel.
    const int step = row < from ? -1 : 1;
    int visible = model_.NextVisible(row, step);
    if (visible < 0)
        visible = model_.NextVisible(row, -step);
    if (visible < 0)
        return;
    if (extend && settings_.multiSelect) {
        if (d_->anchorRow < 0 || !model_.IsRow(d_->anchorRow))
            d_->anchorRow = from >= 0 ? from : visible;
        if (!MoveCursor(visible, false))
            return;
        model_.ClearSelection();
        model_.SelectRange(d_->anchorRow, d_->cursorRow, true);
        viewport()->update();
        return;
    }
    ClearSelection();
    if (MoveCursor(visible, false))
        d_->anchorRow = d_->cursorRow;
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
    const auto at = std::find(visible.begin(), visible.end(), d_->cursorCol);
    int index = at == visible.end() ? 0 : int(at - visible.begin());
    int row = d_->cursorRow;
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
    d_->cursorCol = visible[index];
    if (row != d_->cursorRow)
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
        return d_->edit.FocusNextEditor(next);
    if (settings_.tabChangesRow && TabToCell(next))
        return true;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool GridCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (!d_)
        return QAbstractScrollArea::eventFilter(watched, event);
    if (d_->search.IsField(watched))
        return d_->search.FieldEvent(event) || QAbstractScrollArea::eventFilter(watched, event);
    if (d_->edit.IsEditor(watched)) {
        // Keys typed into an editor that the grid acts on: Enter, Esc, Tab.
        if (event->type() == QEvent::KeyPress && IsEditing()) {
            const KeyCode key = KeyFromEvent(*static_cast<QKeyEvent*>(event));
            if (key == K_ENTER || key == K_ESCAPE || (key & ~K_SHIFT) == K_TAB) {
                HandleKey(key);
                return true;
            }
        }
        // The right button on an editor acts as on its cell. The editor's own menu never
        // shows, not even for the menu request that follows the press.
        auto* editor = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress && IsEditing()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                const QPoint pos = editor->mapTo(viewport(), mouse->position().toPoint());
                RightClick(RowAtPoint(pos), ColumnAtPoint(pos), mouse->globalPosition().toPoint());
                return true;
            }
        }
        if (event->type() == QEvent::ContextMenu) {
            auto* request = static_cast<QContextMenuEvent*>(event);
            if (request->reason() != QContextMenuEvent::Mouse && IsEditing()) {
                const QPoint pos = editor->mapTo(viewport(), request->pos());
                RightClick(RowAtPoint(pos), ColumnAtPoint(pos), request->globalPos());
            }
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---- Mouse

void GridCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int row = RowAtPoint(pos);
    const int column = ColumnAtPoint(pos);
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (d_->header.Press(pos))
            return;
        if (row >= 0) {
            d_->drag.Press(pos);
            ClickRow(row, column, event->modifiers());
        }
        return;
    }
    if (event->button() == Qt::RightButton)
        RightClick(row, column, event->globalPosition().toPoint());
}

void GridCtrl::RightClick(int row, int column, const QPoint& globalPos)
{
    QPointer<GridCtrl> alive(this);
    if (row >= 0) {
        // A click on the edited row itself accepts the edit as well.
        if (IsEditing() && row == d_->edit.EditRow()) {
            AcceptEdit();
            if (!alive)
                return;
            row = std::min(row, GetCount() - 1);
        }
        if (column >= 0)
            d_->cursorCol = column;
        SetCursor(row);
    }
    if (!alive)
        return;
    setFocus(Qt::MouseFocusReason);
    PopUpMenuAt(globalPos);
}

void GridCtrl::ClickRow(int row, int column, Qt::KeyboardModifiers modifiers)
{
    QPointer<GridCtrl> alive(this);
    if (column >= 0)
        d_->cursorCol = column;
    if ((modifiers & Qt::ControlModifier) && settings_.multiSelect) {
        Select(row, !model_.IsSelected(row));
        d_->anchorRow = row;
        SetCursor(row);
    }
    else if ((modifiers & Qt::ShiftModifier) && settings_.multiSelect) {
        if (!model_.IsRow(d_->anchorRow))
            d_->anchorRow = IsCursor() ? d_->cursorRow : row;
        const int anchor = d_->anchorRow;
        if (!SetCursor(row) || !alive)
            return;
        model_.ClearSelection();
        model_.SelectRange(anchor, d_->cursorRow, true);
        viewport()->update();
    }
    else {
        // The multi-selection goes on release, so that a press can still start a drag of it.
        d_->clearSelectionOnRelease = true;
        if (!SetCursor(row) || !alive)
            return;
        d_->anchorRow = d_->cursorRow;
    }
    if (alive)
        Run(WhenLeftClick);
}

void GridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (d_->header.Move(pos))
        return;
    if (event->buttons() & Qt::LeftButton) {
        if (d_->drag.Move(pos, event->globalPosition().toPoint()))
            d_->clearSelectionOnRelease = false;  // the selection is what is being moved
        return;
    }
    // Hovering: show where a border can be taken.
    const Qt::CursorShape shape = d_->header.HoverShape(pos);
    if (shape == Qt::ArrowCursor)
        viewport()->unsetCursor();
    else
        viewport()->setCursor(shape);
}

void GridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const bool dropped = d_->drag.Release(pos);
    if (d_->header.Release(pos, event->modifiers()) || dropped) {
        d_->clearSelectionOnRelease = false;
        return;
    }
    if (d_->clearSelectionOnRelease) {
        d_->clearSelectionOnRelease = false;
        ClearSelection();
    }
}

bool GridCtrl::ResizeColumn(int column, int pixels) { return d_->header.ResizeColumn(column, pixels); }

void GridCtrl::SetRowHeight(int row, int height)
{
    if (!model_.IsRow(row))
        return;
    model_.SetHeight(row, std::clamp(height, kMinRowHeight, kMaxRowHeight));
    SyncLayout();
    viewport()->update();
    d_->edit.PlaceEditors();
}

void GridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = RowAtPoint(event->position().toPoint());
    if (row < 0)
        return;
    if (row != d_->cursorRow && !SetCursor(row))
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
