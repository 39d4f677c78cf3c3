// The library's grids: loading them, making track grids, the removal of
// tracks and the saving of the display order.

#include "library/Library.h"

#include <utility>

#include "data/Sql.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "playback/PlaybackControl.h"
#include "ui/WaitCursor.h"

Library::Library(QWidget& gridOwner, PlaybackControl& playback)
    : gridOwner_(gridOwner),
      playback_(playback),
      adder_([this]() -> GridCtrl& { return CurrentTrackList(); },
             [this] { return ListGrid.Get(ListGrid.GetCursor(), LIST_ID); })
{
    SetupListGrid();
    adder_.SetupSelectors();
}

Library::~Library()
{
    // Whatever an add has not stored yet is dropped, so every row shown is stored.
    adder_.Adds().Stop();
    SavePositions();
}

void Library::SetupListGrid()
{
    ConfigureListGrid(ListGrid, NameEditor);
    ListGrid.WhenMenuBar = [this](Bar& bar) { ListMenu(bar); };
    ListGrid.WhenInsertRow = [this] { ListInserted(); };
    ListGrid.WhenUpdateRow = [this] { ListEdited(); };
    ListGrid.WhenCursor = [this] { ListCursorChanged(); };
    ListGrid.WhenRemoveRow = [this] { ListRemoving(); };
    ListGrid.AppendAction = [this] { ShowListAddMenu(); };
}

void Library::LoadLibrary()
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

GridCtrl& Library::NewTrackList(int index)
{
    auto grid = std::make_unique<GridCtrl>(&gridOwner_);
    grid->hide();  // shown when its playlist is selected
    ConfigureTrackGrid(*grid);
    grid->WhenMenuBar = [this](Bar& bar) { TrackMenu(bar); };
    grid->WhenRemoveRow = [this] { TrackRemoving(); };
    grid->WhenLeftDouble = [this] { playback_.PlaySelected(); };
    grid->WhenEnter = [this] { playback_.PlaySelected(); };
    grid->AppendAction = [this] { ShowTrackAddMenu(); };
    GridCtrl& made = *grid;
    if (index < 0 || index >= static_cast<int>(trackLists_.size()))
        trackLists_.push_back(std::move(grid));
    else
        trackLists_.insert(trackLists_.begin() + index, std::move(grid));
    return made;
}

GridCtrl* Library::SelectedTrackList()
{
    const int k = ListGrid.GetCursor(true);
    return k >= 0 && k < static_cast<int>(trackLists_.size()) ? trackLists_[k].get() : nullptr;
}

GridCtrl& Library::CurrentTrackList()
{
    if (GridCtrl* selected = SelectedTrackList())
        return *selected;
    // Only while the window is built is there no cursor row.
    return *trackLists_.front();
}

void Library::TrackRemoving()
{
    GridCtrl& g = CurrentTrackList();
    // A removal of selected rows is one transaction; the cursor row alone needs none.
    if (g.IsRemovingFirst())
        trackRemoval_.emplace(SQL.GetSession());
    const Value id = g.Get(TRACK_ID);
    // A row whose file could not be opened was never stored.
    if (!id.IsNull())
        RemoveTrack(id);
    playback_.TrackRemoved(id);
    if (g.IsRemovingLast() && trackRemoval_) {
        trackRemoval_->Commit();
        trackRemoval_.reset();
    }
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
        if (id >= 0 && id < static_cast<int>(trackLists_.size())) {
            GridCtrl& tracks = *trackLists_[static_cast<size_t>(id)];
            for (int t = 0; t < tracks.GetCount(); ++t)
                list.entries.push_back(tracks.Get(t, TRACK_ID));
        }
        order.push_back(std::move(list));
    }
    ::SavePositions(*session, order);
}
