// The display order: moving rows by command, sorting and dropping dragged rows.
// Only row items move; stored rows keep their stable ids.

#include <algorithm>

#include "ui/GridPrivate.h"

bool GridCtrl::ApplyOrder(const std::vector<int>& order)
{
    // Rows that stay where they are need no new layout.
    bool same = true;
    for (int i = 0; i < int(order.size()) && same; ++i)
        same = order[size_t(i)] == i;
    if (same)
        return false;
    // The cursor and the selection anchor stay on their rows.
    int cursor = -1;
    int anchor = -1;
    for (int i = 0; i < int(order.size()); ++i) {
        if (order[size_t(i)] == d_->cursorRow)
            cursor = i;
        if (order[size_t(i)] == d_->anchorRow)
            anchor = i;
    }
    model_.Reorder(order);
    d_->cursorRow = cursor;
    d_->anchorRow = anchor;
    SyncLayout();
    if (IsCursor())
        ScrollToRow(d_->cursorRow);
    viewport()->update();
    return true;
}

void GridCtrl::MoveRows(int step)
{
    if (IsEditing())
        return;
    int& cursor = d_->cursorRow;
    if (GetSelectedCount() == 0) {
        const int target = cursor + step;
        if (!IsCursor() || !model_.IsRow(target))
            return;
        model_.Swap(cursor, target);
        cursor = target;
        d_->anchorRow = target;
    }
    else {
        std::vector<int> rows = model_.GetSelected();
        if (step > 0)
            std::reverse(rows.begin(), rows.end());
        bool moved = false;
        for (int row : rows) {
            const int target = row + step;
            if (!model_.IsRow(target))
                break;
            model_.Swap(row, target);
            moved = true;
            // The cursor stays on its row wherever that row goes.
            if (cursor == row)
                cursor = target;
            else if (cursor == target)
                cursor = row;
        }
        if (!moved)
            return;
    }
    ScrollToRow(cursor);
    viewport()->update();
    Run(WhenReorder);
}

void GridCtrl::SortByCaption(int column, bool add)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    d_->header.CycleSort(column, add);
    if (d_->header.Resort())
        Run(WhenReorder);
}

void GridCtrl::Resort() { d_->header.Resort(); }

const std::vector<int>& GridCtrl::GetSortKeys() const { return d_->header.SortKeys(); }

bool GridCtrl::DropRows(int after)
{
    if (!d_->drag.Drop(after))
        return false;
    Run(WhenReorder);
    return true;
}

String GridCtrl::DragText(int after) const { return d_->drag.Text(after); }

bool GridCtrl::IsDragging() const { return d_->drag.IsDragging(); }
