// Sorting the display order by caption clicks. Only row items move; the store and
// its stable ids stay, so sorting by nothing returns the order of addition.

#include <algorithm>

#include "ui/GridCtrl.h"
#include "ui/ValueCompare.h"

void GridCtrl::SortByCaption(int column, bool add)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    GridColumn& clicked = columns_[column];
    const int state = (clicked.sort_ + 1) % 3;
    if (add && settings_.multiSorting) {
        const auto at = std::find(sortKeys_.begin(), sortKeys_.end(), column);
        if (state == 0 && at != sortKeys_.end())
            sortKeys_.erase(at);
        else if (state != 0 && at == sortKeys_.end())
            sortKeys_.push_back(column);
    }
    else {
        for (GridColumn& other : columns_)
            other.sort_ = 0;
        sortKeys_.clear();
        if (state != 0)
            sortKeys_.push_back(column);
    }
    clicked.sort_ = state;
    Resort();
}

void GridCtrl::Resort()
{
    // The edited row's index would go stale under it.
    AcceptEdit();
    const int count = GetCount();
    if (count == 0)
        return;
    std::vector<int> order(size_t(count), 0);
    if (sortKeys_.empty()) {
        // Stable ids are a permutation of 0..count-1: each row goes straight to its place.
        for (int row = 0; row < count; ++row)
            order[size_t(model_.GetId(row))] = row;
        ApplyOrder(order);
        return;
    }
    struct Key {
        int column;
        bool descending;
    };
    std::vector<Key> keys;
    for (int column : sortKeys_)
        keys.push_back({column, columns_[column].sort_ == 2});
    // Each row is reached through one pointer (to its key cell, or with several keys to
    // its first cell), so comparing does not go through the display list and the store.
    const bool single = keys.size() == 1;
    const int offset = single ? keys[0].column : 0;
    std::vector<std::pair<const Value*, int>> rows;
    rows.reserve(size_t(count));
    for (int row = 0; row < count; ++row)
        rows.emplace_back(&model_.Cell(row, offset), row);
    using Entry = std::pair<const Value*, int>;
    if (single && !keys[0].descending)
        std::sort(rows.begin(), rows.end(),
                  [](const Entry& a, const Entry& b) { return StdValueCompare(*a.first, *b.first) < 0; });
    else if (single)
        std::sort(rows.begin(), rows.end(),
                  [](const Entry& a, const Entry& b) { return StdValueCompare(*a.first, *b.first) > 0; });
    else
        std::sort(rows.begin(), rows.end(), [&keys](const Entry& a, const Entry& b) {
            for (const Key& key : keys) {
                const int result = StdValueCompare(a.first[key.column], b.first[key.column]);
                if (result != 0)
                    return key.descending ? result > 0 : result < 0;
            }
            return false;
        });
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = rows[size_t(i)].second;
    ApplyOrder(order);
}

void GridCtrl::ApplyOrder(std::vector<int>& order)
{
    // Rows that stay where they are need no new layout.
    bool same = true;
    for (int i = 0; i < int(order.size()) && same; ++i)
        same = order[size_t(i)] == i;
    if (same)
        return;
    // The cursor and the selection anchor stay on their rows.
    int cursor = -1;
    int anchor = -1;
    for (int i = 0; i < int(order.size()); ++i) {
        if (order[size_t(i)] == cursorRow_)
            cursor = i;
        if (order[size_t(i)] == anchorRow_)
            anchor = i;
    }
    model_.Reorder(order);
    cursorRow_ = cursor;
    anchorRow_ = anchor;
    SyncLayout();
    if (IsCursor())
        ScrollToRow(cursorRow_);
    viewport()->update();
}
