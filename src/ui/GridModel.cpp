#include "ui/GridModel.h"

#include <algorithm>

GridModel::StoredRow GridModel::MakeRow()
{
    StoredRow row;
    row.revision = ++revisions_;
    if (columns_ > 0)
        row.cells = new Value[size_t(columns_)];
    return row;
}

void GridModel::FreeRow(StoredRow& row)
{
    delete[] row.cells;
    delete row.style;
    row = StoredRow();
}

void GridModel::MakeRoom()
{
    // Growing first means a failed allocation cannot leave a new row without an owner.
    const auto grow = [](auto& vector) {
        if (vector.size() == vector.capacity())
            vector.reserve(std::max<size_t>(16, vector.capacity() * 2));
    };
    grow(store_);
    grow(items_);
}

int GridModel::Append()
{
    MakeRoom();
    store_.push_back(MakeRow());
    GridRowItem item;
    item.id = int32_t(store_.size() - 1);
    item.height = int16_t(defaultHeight_);
    const bool layoutComplete = layoutValid_ == GetCount();
    items_.push_back(item);
    // Appending to a settled layout extends it at once, so filling stays linear.
    if (layoutComplete) {
        PlaceAfterPrevious(GetCount() - 1);
        layoutValid_ = GetCount();
    }
    return GetCount() - 1;
}

int GridModel::Insert(int row)
{
    if (row < 0 || row >= GetCount())
        return Append();
    const int32_t id = items_[row].id;
    MakeRoom();
    store_.insert(store_.begin() + id, MakeRow());
    for (GridRowItem& item : items_)
        if (item.id >= id)
            ++item.id;
    GridRowItem item;
    item.id = id;
    item.height = int16_t(defaultHeight_);
    items_.insert(items_.begin() + row, item);
    Touch(row);
    return row;
}

void GridModel::Remove(int row)
{
    const int32_t id = items_[row].id;
    if (items_[row].IsSelected())
        --selected_;
    items_.erase(items_.begin() + row);
    FreeRow(store_[id]);
    store_.erase(store_.begin() + id);
    for (GridRowItem& item : items_)
        item.id -= int32_t(item.id > id);  // branch-free: this loop runs once per removed row
    Touch(row);
}

void GridModel::RemoveRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    // Each stored row's new id, or -1 for a row that goes.
    std::vector<int32_t> newId(store_.size(), 0);
    for (int row : rows) {
        newId[size_t(items_[row].id)] = -1;
        if (items_[row].IsSelected())
            --selected_;
    }
    size_t kept = 0;
    for (size_t id = 0; id < store_.size(); ++id) {
        if (newId[id] < 0) {
            FreeRow(store_[id]);
            continue;
        }
        newId[id] = int32_t(kept);
        store_[kept++] = store_[id];
    }
    store_.resize(kept);
    size_t shown = 0;
    for (const GridRowItem& item : items_) {
        const int32_t id = newId[size_t(item.id)];
        if (id < 0)
            continue;
        items_[shown] = item;
        items_[shown++].id = id;
    }
    items_.resize(shown);
    Touch(rows.front());
}

void GridModel::Clear()
{
    items_.clear();
    for (StoredRow& row : store_)
        FreeRow(row);
    store_.clear();
    selected_ = 0;
    layoutValid_ = 0;
}

void GridModel::Reserve(int rows)
{
    store_.reserve(size_t(rows));
    items_.reserve(size_t(rows));
}

int GridModel::FindId(int id) const
{
    for (int row = 0; row < GetCount(); ++row)
        if (items_[row].id == id)
            return row;
    return -1;
}

void GridModel::SetHidden(int row, bool hidden)
{
    if (items_[row].IsHidden() == hidden)
        return;
    items_[row].flags ^= GridRowItem::HIDDEN;
    Touch(row + 1);
}

void GridModel::SetHeight(int row, int height)
{
    items_[row].height = int16_t(std::clamp(height, 1, 32767));
    Touch(row + 1);
}

void GridModel::SetFound(int row, int column, size_t start, size_t end)
{
    GridRowItem& item = items_[row];
    item.flags |= GridRowItem::FOUND;
    // Ranges the item cannot hold are still a match, just not highlighted.
    const bool fits = column >= 0 && column < GridRowItem::kNoColumn && end <= UINT16_MAX && start <= end;
    item.foundColumn = fits ? uint8_t(column) : GridRowItem::kNoColumn;
    item.foundStart = fits ? uint16_t(start) : 0;
    item.foundEnd = fits ? uint16_t(end) : 0;
}

void GridModel::Select(int row, bool on)
{
    if (items_[row].IsSelected() == on)
        return;
    items_[row].flags ^= GridRowItem::SELECTED;
    selected_ += on ? 1 : -1;
}

void GridModel::SelectRange(int from, int to, bool on)
{
    if (from > to)
        std::swap(from, to);
    for (int row = std::max(from, 0); row <= to && row < GetCount(); ++row)
        if (!on || !items_[row].IsHidden())
            Select(row, on);
}

void GridModel::ClearSelection()
{
    if (selected_ == 0)
        return;
    for (GridRowItem& item : items_)
        item.flags &= uint8_t(~GridRowItem::SELECTED);
    selected_ = 0;
}

std::vector<int> GridModel::GetSelected() const
{
    std::vector<int> rows;
    rows.reserve(size_t(selected_));
    for (int row = 0; row < GetCount() && int(rows.size()) < selected_; ++row)
        if (items_[row].IsSelected())
            rows.push_back(row);
    return rows;
}

void GridModel::Swap(int a, int b)
{
    std::swap(items_[a], items_[b]);
    Touch(std::min(a, b));
}

void GridModel::MoveItem(int from, int to)
{
    if (from == to)
        return;
    const GridRowItem item = items_[from];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, item);
    Touch(std::min(from, to));
}

void GridModel::Reorder(const std::vector<int>& order)
{
    std::vector<GridRowItem> items;
    items.reserve(items_.size());
    for (int row : order)
        items.push_back(items_[row]);
    items_.swap(items);
    layoutValid_ = 0;
}

void GridModel::UpdateLayout(int upTo)
{
    upTo = std::min(upTo, GetCount());
    for (int row = layoutValid_; row < upTo; ++row)
        PlaceAfterPrevious(row);
    layoutValid_ = std::max(layoutValid_, upTo);
}

void GridModel::PlaceAfterPrevious(int row)
{
    GridRowItem& item = items_[row];
    bool odd = false;
    item.pos = 0;
    if (row > 0) {
        const GridRowItem& above = items_[row - 1];
        item.pos = above.pos + above.Extent();
        odd = bool(above.flags & GridRowItem::SHOWN_ODD) == above.IsHidden();
    }
    item.flags = uint8_t((item.flags & ~GridRowItem::SHOWN_ODD) | (odd ? GridRowItem::SHOWN_ODD : 0));
}

int GridModel::GetPos(int row)
{
    UpdateLayout(row + 1);
    return items_[row].pos;
}

bool GridModel::IsShownOdd(int row)
{
    UpdateLayout(row + 1);
    return items_[row].flags & GridRowItem::SHOWN_ODD;
}

int GridModel::GetTotalHeight()
{
    if (items_.empty())
        return 0;
    UpdateLayout(GetCount());
    return items_.back().pos + items_.back().Extent();
}

int GridModel::RowAtY(int y)
{
    if (y < 0 || y >= GetTotalHeight())
        return -1;
    // The last row starting at or above y; hidden rows take no space, so skip back over them.
    auto it = std::upper_bound(items_.begin(), items_.end(), y,
                               [](int value, const GridRowItem& item) { return value < item.pos; });
    int row = int(it - items_.begin()) - 1;
    while (row >= 0 && items_[row].IsHidden())
        --row;
    return row >= 0 && y < items_[row].pos + items_[row].Extent() ? row : -1;
}

int GridModel::NextVisible(int row, int step) const
{
    for (; row >= 0 && row < GetCount(); row += step)
        if (!items_[row].IsHidden())
            return row;
    return -1;
}

void GridModel::SetStyle(int row, const GridRowStyle& style)
{
    StoredRow& stored = store_[items_[row].id];
    if (style.IsEmpty()) {
        delete stored.style;
        stored.style = nullptr;
    }
    else if (stored.style)
        *stored.style = style;
    else
        stored.style = new GridRowStyle(style);
}
