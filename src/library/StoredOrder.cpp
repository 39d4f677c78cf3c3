#include "library/StoredOrder.h"

#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "library/LibraryDb.h"

void StoredOrder::Loaded(const std::vector<Value>& keys)
{
    pos_.clear();
    pos_.reserve(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        if (IsKey(keys[i]))
            pos_[keys[i].ToInt64()] = static_cast<int>(i);
}

void StoredOrder::Inserted(const Value& key, const Value& pos)
{
    if (!IsKey(key))
        return;
    if (pos.IsNull())
        pos_.erase(key.ToInt64());
    else
        pos_[key.ToInt64()] = pos.ToInt();
}

void StoredOrder::Removed(const Value& key)
{
    if (IsKey(key))
        pos_.erase(key.ToInt64());
}

std::vector<int> StoredOrder::Changed(const std::vector<Value>& keys, size_t offset) const
{
    std::vector<int> changed;
    for (size_t k = 0; k < keys.size(); ++k) {
        if (!IsKey(keys[k]))
            continue;
        const int index = static_cast<int>(offset + k);
        const auto found = pos_.find(keys[k].ToInt64());
        if (found == pos_.end() || found->second != index)
            changed.push_back(index);
    }
    return changed;
}

void StoredOrder::Written(const std::vector<Value>& keys, const std::vector<int>& indexes, size_t offset)
{
    for (int i : indexes)
        pos_[keys[static_cast<size_t>(i) - offset].ToInt64()] = i;
}

bool WriteOrder(SqlSession& session, const Value& list, const std::vector<Value>& display,
                const std::vector<int>& changed)
{
    Sql cursor(session);
    cursor.SetStatement(LibrarySql::SaveTrackPos);
    for (int i : changed)
        if (!cursor.Execute(i, display[static_cast<size_t>(i)], list))
            return false;
    return true;
}

bool WriteListOrder(SqlSession& session, const std::vector<Value>& display, const std::vector<int>& changed)
{
    Sql cursor(session);
    cursor.SetStatement(LibrarySql::SaveListPos);
    for (int i : changed)
        if (!cursor.Execute(i, display[static_cast<size_t>(i)]))
            return false;
    return true;
}

namespace {

template <class Write>
bool StoreChanged(SqlSession& session, const std::vector<Value>& display, StoredOrder& stored, Write write)
{
    const std::vector<int> changed = stored.Changed(display);
    if (changed.empty())
        return true;
    SqlTransaction transaction(session);
    if (!transaction.IsOpen() || !write(changed) || !transaction.Commit())
        return false;
    stored.Written(display, changed);
    return true;
}

} // namespace

bool StoreOrder(SqlSession& session, const Value& list, const std::vector<Value>& display, StoredOrder& stored)
{
    return StoreChanged(session, display, stored,
                        [&](const std::vector<int>& changed) { return WriteOrder(session, list, display, changed); });
}

bool StoreListOrder(SqlSession& session, const std::vector<Value>& display, StoredOrder& stored)
{
    return StoreChanged(session, display, stored,
                        [&](const std::vector<int>& changed) { return WriteListOrder(session, display, changed); });
}
