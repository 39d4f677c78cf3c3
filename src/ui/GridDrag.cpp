// Moving rows by dragging them with the left button: the floating text, the
// boundary marker and the drop.

#include <QPainter>

#include "ui/GridCtrl.h"
#include "ui/GridPopUp.h"
#include "ui/GridText.h"
#include "ui/Translate.h"

namespace {
constexpr int kMarkerReach = 5;  // the marker area repainted either side of the boundary
const QColor kMarkerColour(200, 30, 30);
}  // namespace

String GridCtrl::DragText(int after) const
{
    const int target = after + 2;  // the row below the boundary, counted from 1
    const int selected = GetSelectedCount();
    if (selected == 0 || !IsSelected(cursorRow_))
        return FillNumbers(Translate("Moving row %d before row %d"), {cursorRow_ + 1, target});
    if (selected == 1)
        return FillNumbers(Translate("Moving selection (%d row) before row %d"), {selected, target});
    return FillNumbers(Translate("Moving selection (%d rows) before row %d"), {selected, target});
}

bool GridCtrl::DropRows(int after)
{
    if (IsEditing() || !IsCursor())
        return false;
    after = std::clamp(after, -1, GetCount() - 1);
    if (GetSelectedCount() == 0 || !IsSelected(cursorRow_)) {
        const int from = cursorRow_;
        // Just after itself or after the row above it: the row would stay where it is.
        if (after == from || after == from - 1)
            return false;
        const int to = after < from ? after + 1 : after;
        model_.MoveItem(from, to);
        cursorRow_ = to;
        anchorRow_ = to;
    }
    else {
        // The selected rows leave together, keeping their order, and go in as one block.
        const std::vector<int> selected = model_.GetSelected();
        const int above = int(std::upper_bound(selected.begin(), selected.end(), after) - selected.begin());
        std::vector<int> order;
        order.reserve(size_t(GetCount()));
        for (int row = 0; row < GetCount(); ++row)
            if (!model_.IsSelected(row))
                order.push_back(row);
        const int at = after + 1 - above;
        order.insert(order.begin() + at, selected.begin(), selected.end());
        if (std::is_sorted(order.begin(), order.end()))
            return false;
        ApplyOrder(order);
    }
    SyncLayout();
    ScrollToRow(cursorRow_);
    viewport()->update();
    return true;
}

int GridCtrl::DropAfterRow(const QPoint& pos)
{
    if (pos.y() < DataTop())
        return -1;
    const int row = RowAtPoint(pos);
    if (row >= 0)
        return row;
    // Below the last row: after the last row shown.
    return model_.NextVisible(GetCount() - 1, -1);
}

void GridCtrl::UpdateDrag(const QPoint& pos, const QPoint& globalPos)
{
    const int after = DropAfterRow(pos);
    if (!popUp_)
        popUp_ = new GridPopUp();
    const QPoint offset(15 + GetFixedWidth(), kRowHeight + kCaptionHeight);
    popUp_->ShowAt(QString::fromStdString(DragText(after)), globalPos + offset);
    int y = DataTop();
    if (after >= 0)
        y += model_.GetPos(after) + model_.Item(after).Extent() - ScrollPos();
    SetDropMarker(y);
}

void GridCtrl::EndDrag(const QPoint& pos)
{
    dragging_ = false;
    if (popUp_)
        popUp_->hide();
    SetDropMarker(-1);
    DropRows(DropAfterRow(pos));
}

void GridCtrl::SetDropMarker(int y)
{
    if (y == dropMarkerY_)
        return;
    const int width = viewport()->width();
    if (dropMarkerY_ >= 0)
        viewport()->update(0, dropMarkerY_ - kMarkerReach, width, 2 * kMarkerReach + 1);
    dropMarkerY_ = y;
    if (y >= 0)
        viewport()->update(0, y - kMarkerReach, width, 2 * kMarkerReach + 1);
}

void GridCtrl::PaintDropMarker(QPainter& painter)
{
    if (!dragging_ || dropMarkerY_ < 0)
        return;
    const int width = viewport()->width();
    const int y = std::max(dropMarkerY_ - 1, DataTop() - 1);
    painter.fillRect(GetFixedWidth(), y, width - GetFixedWidth(), 2, kMarkerColour);
    // Small ticks at both ends make the boundary easy to spot between grid lines.
    painter.fillRect(GetFixedWidth(), y - 2, 2, 6, kMarkerColour);
    painter.fillRect(width - 2, y - 2, 2, 6, kMarkerColour);
}
