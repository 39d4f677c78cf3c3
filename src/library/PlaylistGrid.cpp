// The playlists grid: loading the library, creating, renaming, removing and
// selecting playlists, each with its own track grid in TrackLists.

#include <utility>

#include "app/Player.h"
#include "data/Sql.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "ui/WaitCursor.h"

void Player::SetupListGrid()
{
    ConfigureListGrid(ListGrid, NameEditor);
    ListGrid.WhenMenuBar = [this](Bar& bar) { ListMenu(bar); };
    ListGrid.WhenInsertRow = [this] { ListInserted(); };
    ListGrid.WhenUpdateRow = [this] { ListEdited(); };
    ListGrid.WhenCursor = [this] { ListCursorChanged(); };
    ListGrid.WhenRemoveRow = [this] { ListRemoving(); };
    ListGrid.AppendAction = [this] { ShowListAddMenu(); };
}

void Player::LoadLibrary()
{
    WaitCursor wait;
    std::vector<LoadedList> lists;
    if (SqlSession* session = SQL.GetSession())
        lists = ::LoadLibrary(*session);
    ListGrid.Reserve(static_cast<int>(lists.size()));
    for (LoadedList& list : lists) {
        ListGrid.Add(std::vector<Value>{std::move(list.id), std::move(list.name)});
        GridCtrl& tracks = NewTrackList(-1);
        tracks.Reserve(static_cast<int>(list.tracks.size()));
        for (std::vector<Value>& row : list.tracks)
            tracks.Add(std::move(row));
        list.tracks = {};  // hand the memory back as we go
    }
    if (ListGrid.GetCount() == 0) {
        ListGrid.Add();
        ListGrid.Get(0, LIST_NAME) = kDefaultListName;
        ListGrid.Get(0, LIST_ID) = StoreDefaultList(kDefaultListName);
        NewTrackList(-1);
    }
}

bool Player::FixListName(String& name)
{
    name = TrimBoth(name);
    if (!name.empty())
        return false;
    name = "Playlist " + std::to_string(ListGrid.GetCount());
    return true;
}

String Player::FixedListName()
{
    const Value& cell = ListGrid.Get(LIST_NAME);
    String name = cell.ToString();
    FixListName(name);
    // The cell shows what is stored: trimmed, or the default name.
    if (Value(name) != cell)
        ListGrid.Set(LIST_NAME, name);
    return name;
}

void Player::ListInserted()
{
    const String name = FixedListName();
    ListGrid.Set(LIST_ID, StoreNewList(name));
}

void Player::ListEdited()
{
    const String name = FixedListName();
    StoreListName(ListGrid.Get(LIST_ID), name);
}

void Player::FinishEditing()
{
    if (ListGrid.IsEditing())
        ListGrid.AcceptEdit();
}

void Player::ListRemoving()
{
    const int k = ListGrid.GetCurrentRow(true);
    GridCtrl* tracks = k >= 0 && k < static_cast<int>(TrackLists.size()) ? TrackLists[k].get() : nullptr;
    if (tracks && PlayingList == tracks) {
        StopPlayback();
        PlayingList = nullptr;
    }
    // A row whose edit was cancelled before it was ever stored has no id and no records.
    const Value id = ListGrid.Get(LIST_ID);
    if (!id.IsNull())
        RemoveList(id);
    if (tracks)
        TrackLists.erase(TrackLists.begin() + k);
}

void Player::ListCursorChanged()
{
    const int k = ListGrid.GetCursor(true);
    if (k < 0)
        return;
    // A new row gets its grid once, the first time the cursor reaches it.
    if (ListGrid.IsNewRow() && TrackLists.size() < static_cast<size_t>(ListGrid.GetCount())) {
        ShowTrackList(NewTrackList(ListGrid.IsAppendedRow() ? -1 : k));
        return;
    }
    if (k < static_cast<int>(TrackLists.size()))
        ShowTrackList(*TrackLists[k]);
}

void Player::ShowTrackList(GridCtrl& tracks)
{
    if (splitter.GetPane(0) != &ListGrid)
        splitter.SetPane(0, ListGrid);
    if (splitter.GetPane(1) != &tracks)
        splitter.SetPane(1, tracks);
}

GridCtrl& Player::CurrentTrackList()
{
    const int k = ListGrid.GetCursor(true);
    if (k >= 0 && k < static_cast<int>(TrackLists.size()))
        return *TrackLists[k];
    // Only while the window is built is there no cursor row.
    return *TrackLists.front();
}

void Player::AddListFromFolder()
{
    if (!folderSelector.ExecuteSelectDir("Select music folder"))
        return;
    ListGrid.DoAppendNoEdit();
    const String& path = folderSelector[0];
    ListGrid.Set(LIST_NAME, PathLastComponent(path));
    ListInserted();
    ListGrid.RefreshRow(ListGrid.GetCursor());
    RunAdd([&] {
        for (const String& folder : folderSelector.Get())
            ScanFolder(true, folder);
    });
}
