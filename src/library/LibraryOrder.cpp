// The library's display order in the database: written with every user action
// that changes it, so a crash keeps the order last shown, and once more in
// full when the library goes.

#include <algorithm>

#include "data/Sql.h"
#include "library/Library.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "library/NotStored.h"
#include "ui/Translate.h"
#include "ui/WaitCursor.h"

namespace {

constexpr char kOrderLater[] = "It is saved with the next change, or when the player closes.";

}  // namespace

std::vector<Value> Library::ListKeys()
{
    std::vector<Value> keys;
    keys.reserve(static_cast<size_t>(ListGrid.GetCount()));
    for (int row = 0; row < ListGrid.GetCount(); ++row)
        keys.push_back(ListGrid.Get(row, LIST_ID));
    return keys;
}

std::vector<Value> Library::TrackKeys(GridCtrl& tracks)
{
    std::vector<Value> keys;
    keys.reserve(static_cast<size_t>(tracks.GetCount()));
    for (int row = 0; row < tracks.GetCount(); ++row)
        keys.push_back(tracks.Get(row, TRACK_ID));
    return keys;
}

Value Library::ListIdOf(const GridCtrl& tracks)
{
    for (size_t k = 0; k < trackLists_.size(); ++k)
        if (trackLists_[k].get() == &tracks)
            return ListGrid.Get(ListGrid.FindRowById(static_cast<int>(k)), LIST_ID);
    return Value();
}

bool Library::StoreListOrder()
{
    SqlSession* session = SQL.GetSession();
    if (session && ::StoreListOrder(*session, ListKeys(), listOrder_))
        return true;
    TellNotStored(Translate("The new order of the playlists could not be saved"), Translate(kOrderLater));
    return false;
}

bool Library::StoreTrackOrder(GridCtrl& tracks)
{
    // A batch being stored into this grid shifts positions too: it goes first.
    if (Adds().Target() == &tracks)
        Adds().Settle();
    const Value list = ListIdOf(tracks);
    // The entries of a playlist that is not stored have nowhere to go.
    if (list.IsNull())
        return true;
    SqlSession* session = SQL.GetSession();
    if (session && StoreOrder(*session, list, TrackKeys(tracks), trackOrders_[list.ToInt64()]))
        return true;
    TellNotStored(Translate("The new order of the tracks could not be saved"), Translate(kOrderLater));
    return false;
}

bool Library::OrderPending()
{
    if (!listOrder_.Changed(ListKeys()).empty())
        return true;
    for (const auto& tracks : trackLists_) {
        const Value list = ListIdOf(*tracks);
        if (!list.IsNull() && !trackOrders_[list.ToInt64()].Changed(TrackKeys(*tracks)).empty())
            return true;
    }
    return false;
}

BackgroundAdd::OrderPlan Library::PlanAddedOrder(GridCtrl& tracks, const std::vector<Value>& tail, size_t from,
                                                const std::vector<std::pair<Value, int>>& inserted)
{
    const Value list = ListIdOf(tracks);
    if (list.IsNull())
        return {};
    const StoredOrder& stored = trackOrders_[list.ToInt64()];
    // The new entries hold the POS their insert gave them; only where that
    // differs from the display (and for the rows they pushed down) is written.
    // Rows above the first new one keep their places and are not even
    // gathered, so a long list is not walked whole for every batch of an add.
    std::unordered_map<int64_t, int> insertedPos;
    for (const auto& [key, pos] : inserted)
        insertedPos.emplace(key.ToInt64(), pos);
    BackgroundAdd::OrderPlan plan;
    for (int i : stored.Changed(tail, from)) {
        const auto found = insertedPos.find(tail[static_cast<size_t>(i) - from].ToInt64());
        if (found == insertedPos.end() || found->second != i)
            plan.changed.push_back(i);
    }
    // The stand-in keys of `inserted` are the batch's rows in order.
    std::vector<int> insertedPositions;
    insertedPositions.reserve(inserted.size());
    for (const auto& entry : inserted)
        insertedPositions.push_back(entry.second);
    plan.whenStored = [this, key = list.ToInt64(), from, changed = plan.changed,
                       insertedPositions = std::move(insertedPositions)](const std::vector<Value>& stored,
                                                                        const std::vector<Value>& ids) {
        StoredOrder& order = trackOrders_[key];
        for (size_t k = 0; k < ids.size() && k < insertedPositions.size(); ++k)
            order.Inserted(ids[k], insertedPositions[k]);
        order.Written(stored, changed, from);
    };
    return plan;
}

void Library::AddTrack(bool append, const String& path)
{
    GridCtrl& tracks = CurrentTrackList();
    adder_.AddTrack(append, path);
    StoreTrackOrder(tracks);
}

void Library::SavePositions()
{
    SqlSession* session = SQL.GetSession();
    if (!session || !session->IsOpen())
        return;
    WaitCursor wait;
    std::vector<ListOrder> order;
    for (int row = 0; row < ListGrid.GetCount(); ++row) {
        ListOrder list{ListGrid.Get(row, LIST_ID), {}};
        const int id = ListGrid.GetRowId(row);
        if (id >= 0 && id < static_cast<int>(trackLists_.size()))
            list.entries = TrackKeys(*trackLists_[static_cast<size_t>(id)]);
        order.push_back(std::move(list));
    }
    // Each change was stored as it was made: only an order still owed is lost.
    if (!::SavePositions(*session, order) && OrderPending())
        TellNotStored(Translate("The order of the playlists and tracks could not be saved"));
}
