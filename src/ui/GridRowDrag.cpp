// Moving rows by dragging them with the left button.

#include "ui/GridRowDrag.h"

#include <algorithm>

#include <QPainter>

#include "ui/GridColours.h"
#include "ui/GridPopUp.h"
#include "ui/GridPrivate.h"
#include "ui/GridText.h"
#include "ui/Translate.h"

namespace {
constexpr int kDragThreshold = 5;  // pixels the pointer moves before a press becomes a drag
constexpr int kMarkerReach = 5;  // the marker area repainted either side of the boundary
}  // namespace

GridRowDrag::GridRowDrag(GridCtrl& grid) : grid_(grid) {}

GridRowDrag::~GridRowDrag() = default;

void GridRowDrag::Press(const QPoint& pos)
{
    pressPos_ = pos;
    pressOnRow_ = true;
}

bool GridRowDrag::Move(const QPoint& pos, const QPoint& globalPos)
{
    const QPoint moved = pos - pressPos_;
    if (pressOnRow_ && !dragging_ && grid_.settings_.draggingRows && !grid_.IsEditing() && grid_.IsCursor() &&
        (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold))
        dragging_ = true;
    if (!dragging_)
        return false;
    const int after = DropAfterRow(pos);
    if (!popUp_)
        popUp_ = std::make_unique<GridPopUp>();
    const QPoint offset(15 + grid_.GetFixedWidth(), GridCtrl::kRowHeight + GridCtrl::kCaptionHeight);
    popUp_->ShowAt(QString::fromStdString(Text(after)), globalPos + offset);
    int y = grid_.DataTop();
    if (after >= 0)
        y += grid_.model_.GetPos(after) + grid_.model_.Item(after).Extent() - grid_.ScrollPos();
    SetMarker(y);
    return true;
}

bool GridRowDrag::Release(const QPoint& pos)
{
    pressOnRow_ = false;
    if (!dragging_)
        return false;
    dragging_ = false;
    if (popUp_)
        popUp_->hide();
    SetMarker(-1);
    grid_.DropRows(DropAfterRow(pos));
    return true;
}

String GridRowDrag::Text(int after) const
{
    const int target = after + 2;  // the row below the boundary, counted from 1
    const int selected = grid_.GetSelectedCount();
    const int cursor = grid_.GetCursor();
    if (selected == 0 || !grid_.IsSelected(cursor))
        return FillNumbers(Translate("Moving row %d before row %d"), {cursor + 1, target});
    if (selected == 1)
        return FillNumbers(Translate("Moving selection (%d row) before row %d"), {selected, target});
    return FillNumbers(Translate("Moving selection (%d rows) before row %d"), {selected, target});
}

bool GridRowDrag::Drop(int after)
{
    if (grid_.IsEditing() || !grid_.IsCursor())
        return false;
    GridModel& model = grid_.model_;
    GridCtrl::Private& d = *grid_.d_;
    after = std::clamp(after, -1, model.GetCount() - 1);
    if (model.GetSelectedCount() == 0 || !model.IsSelected(d.cursorRow)) {
        const int from = d.cursorRow;
        // Just after itself or after the row above it: the row would stay where it is.
        if (after == from || after == from - 1)
            return false;
        const int to = after < from ? after + 1 : after;
        model.MoveItem(from, to);
        d.cursorRow = to;
        d.anchorRow = to;
    }
    else {
        // The selected rows leave together, keeping their order, and go in as one block.
        const std::vector<int> selected = model.GetSelected();
        const int above = int(std::upper_bound(selected.begin(), selected.end(), after) - selected.begin());
        std::vector<int> order;
        order.reserve(size_t(model.GetCount()));
        for (int row = 0; row < model.GetCount(); ++row)
            if (!model.IsSelected(row))
                order.push_back(row);
        order.insert(order.begin() + (after + 1 - above), selected.begin(), selected.end());
        if (!grid_.ApplyOrder(order))
            return false;
    }
    grid_.SyncLayout();
    grid_.ScrollToRow(d.cursorRow);
    grid_.viewport()->update();
    return true;
}

int GridRowDrag::DropAfterRow(const QPoint& pos)
{
    if (pos.y() < grid_.DataTop())
        return -1;
    const int row = grid_.RowAtPoint(pos);
    if (row >= 0)
        return row;
    // Below the last row: after the last row shown.
    return grid_.model_.NextVisible(grid_.GetCount() - 1, -1);
}

void GridRowDrag::SetMarker(int y)
{
    if (y == markerY_)
        return;
    QWidget* viewport = grid_.viewport();
    const int width = viewport->width();
    if (markerY_ >= 0)
        viewport->update(0, markerY_ - kMarkerReach, width, 2 * kMarkerReach + 1);
    markerY_ = y;
    if (y >= 0)
        viewport->update(0, y - kMarkerReach, width, 2 * kMarkerReach + 1);
}

void GridRowDrag::PaintMarker(QPainter& painter)
{
    if (!dragging_ || markerY_ < 0)
        return;
    const QColor& colour = GridColours::kDropMarker;
    const int width = grid_.viewport()->width();
    const int fixed = grid_.GetFixedWidth();
    const int y = std::max(markerY_ - 1, grid_.DataTop() - 1);
    painter.fillRect(fixed, y, width - fixed, 2, colour);
    // Small ticks at both ends make the boundary easy to spot between grid lines.
    painter.fillRect(fixed, y - 2, 2, 6, colour);
    painter.fillRect(width - 2, y - 2, 2, 6, colour);
}
