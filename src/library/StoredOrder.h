#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/Value.h"

class SqlSession;

// The POS each row of one grid holds in the database, as this program loaded
// or last wrote it, so a reorder writes only the rows whose position changed:
// moving one row in a list of 10,000 writes two positions, not 10,000.
// Rows are known by their key (LISTS.ID or PLAYLISTS.IDPL); a row without a
// key was never stored and has no position to write.
class StoredOrder {
public:
    // Rows loaded in POS order: row i is taken to hold POS i.
    void Loaded(const std::vector<Value>& keys);
    // An insert stored the row with this POS (Null: none, as for a new list).
    void Inserted(const Value& key, const Value& pos);
    void Removed(const Value& key);

    // The display indexes whose row does not hold its index as POS. `keys` is
    // the display from index `offset` on, so a caller that knows the rows above
    // are unchanged need not gather them.
    std::vector<int> Changed(const std::vector<Value>& keys, size_t offset = 0) const;
    // Those display indexes are now stored as their rows' POS (`keys` as above).
    void Written(const std::vector<Value>& keys, const std::vector<int>& indexes, size_t offset = 0);

private:
    static bool IsKey(const Value& key) { return !key.IsNull(); }
    std::unordered_map<int64_t, int> pos_;
};

// Writes POS = display index for the changed rows of one list's entries
// (display: the entries' IDPLs in display order), all in one transaction. True
// when the stored order now matches the display; on failure nothing changed
// and the error is in the session.
bool StoreOrder(SqlSession& session, const Value& list, const std::vector<Value>& display, StoredOrder& stored);

// The same for the lists (display: their IDs in display order).
bool StoreListOrder(SqlSession& session, const std::vector<Value>& display, StoredOrder& stored);

// The statements of the two above without a transaction of their own, for a
// caller that already runs one (an insert and the positions it shifts are one
// user action). `stored` is updated only by Written, once the caller committed.
bool WriteOrder(SqlSession& session, const Value& list, const std::vector<Value>& display,
                const std::vector<int>& changed);
bool WriteListOrder(SqlSession& session, const std::vector<Value>& display, const std::vector<int>& changed);
