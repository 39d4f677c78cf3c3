// The library's grids: loading them, making track grids, the removal of
// tracks and the saving of the display order.

#include "library/Library.h"

#include <utility>

#include "data/Sql.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/NotStored.h"
#include "playback/PlaybackControl.h"
#include "ui/LanguageChange.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"
#include "ui/WaitCursor.h"

Library::Library(QWidget& gridOwner, PlaybackControl& playback)
    : gridOwner_(gridOwner),
      playback_(playback),
      adder_([this]() -> GridCtrl& { return CurrentTrackList(); },
             [this] { return ListGrid.Get(ListGrid.GetCursor(), LIST_ID); })
{
    SetupListGrid();
    adder_.SetupSelectors();
    adder_.Adds().PlanOrder = [this](GridCtrl& tracks, const std::vector<Value>& tail, size_t from,
                                     const std::vector<std::pair<Value, int>>& inserted) {
        return PlanAddedOrder(tracks, tail, from, inserted);
    };
    // ListGrid hears it once for the whole library, wherever the window has put it.
    WatchLanguage(ListGrid, [this] { Retranslate(); });
}

void Library::Retranslate()
{
    TranslateCaptions(ListGrid);
    for (const auto& grid : trackLists_)
        TranslateCaptions(*grid);
    adder_.Files().Types(MusicFileTypes());  // the chosen type stays
}

Library::~Library()
{
    // Whatever an add has not stored yet is dropped, so every row shown is stored.
    adder_.Adds().Stop();
    RememberPlaying();
    SavePositions();
}

void Library::SetupListGrid()
{
    ConfigureListGrid(ListGrid, NameEditor);
    ListGrid.WhenMenuBar = [this](Bar& bar) { ListMenu(bar); };
    ListGrid.WhenInsertRow = [this] {
        if (!ListInserted())
            ListGrid.RevertEdit();
    };
    ListGrid.WhenUpdateRow = [this] {
        if (!ListEdited())
            ListGrid.RevertEdit();
    };
    ListGrid.WhenCursor = [this] { ListCursorChanged(); };
    ListGrid.WhenRemoveRow = [this] { ListRemoving(); };
    ListGrid.WhenReorder = [this] { StoreListOrder(); };
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
        ListGrid.Add(std::vector<Value>{list.id, std::move(list.name)});
        GridCtrl& tracks = NewTrackList(-1);
        tracks.Reserve(static_cast<int>(list.tracks.size()));
        for (std::vector<Value>& row : list.tracks)
            tracks.Add(std::move(row));
        list.tracks = {};  // hand the memory back as we go
        trackOrders_[list.id.ToInt64()].Loaded(TrackKeys(tracks));
    }
    listOrder_.Loaded(ListKeys());
    if (ListGrid.GetCount() == 0) {
        ListGrid.Add();
        const String name = Translate(kDefaultListName);
        ListGrid.Get(0, LIST_NAME) = name;
        const Value id = StoreDefaultList(name);
        ListGrid.Get(0, LIST_ID) = id;
        NewTrackList(-1);
        listOrder_.Inserted(id, 0);
        // The window needs one playlist; it stays, but the user knows it is not stored.
        if (id.IsNull())
            TellNotStored(Fill(Translate("The playlist %s could not be created"), {Quoted(name)}));
    }
}

GridCtrl& Library::NewTrackList(int index)
{
    auto grid = std::make_unique<GridCtrl>(&gridOwner_);
    grid->hide();  // shown when its playlist is selected
    ConfigureTrackGrid(*grid);
    grid->WhenMenuBar = [this](Bar& bar) { TrackMenu(bar); };
    grid->WhenRemoveRow = [this] { TrackRemoving(); };
    // A move, a drop or a sort is stored at once, so a crash keeps the order shown.
    grid->WhenReorder = [this, tracks = grid.get()] { StoreTrackOrder(*tracks); };
    grid->WhenLeftDouble = [this] { playback_.PlaySelected(); };
    grid->WhenEnter = [this] { playback_.PlaySelected(); };
    grid->AppendAction = [this] { ShowTrackAddMenu(); };
    GridCtrl& made = *grid;
    if (index < 0 || index >= static_cast<int>(trackLists_.size()))
        trackLists_.push_back(std::move(grid));
    else
        trackLists_.insert(trackLists_.begin() + index, std::move(grid));
    if (WhenTrackListMade)
        WhenTrackListMade(made);
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
    // A removal of selected rows is stored as a whole at its first row; the
    // cursor row alone on its own. Either is kept whole when it is refused.
    if (g.IsRemovingFirst() || !removingSelection_) {
        if (!RemoveTrackRows(g)) {
            g.KeepRemovedRow();
            return;
        }
        removingSelection_ = g.IsRemovingFirst() && !g.IsRemovingLast();
    } else if (g.IsRemovingLast()) {
        removingSelection_ = false;
    }
    const Value id = g.Get(TRACK_ID);
    trackOrders_[ListIdOf(g).ToInt64()].Removed(id);
    playback_.TrackRemoved(id);
}

bool Library::RemoveTrackRows(GridCtrl& tracks)
{
    std::vector<Value> ids;
    bool removed;
    if (tracks.IsRemovingFirst()) {
        for (int row = 0; row < tracks.GetCount(); ++row)
            if (tracks.IsSelected(row))
                ids.push_back(tracks.Get(row, TRACK_ID));
        removed = RemoveTracks(ids);
    } else {
        // The cursor row alone needs no transaction; a row whose file could
        // not be opened was never stored.
        ids.push_back(tracks.Get(TRACK_ID));
        removed = ids.front().IsNull() || RemoveTrack(ids.front());
    }
    if (removed)
        return true;
    const String what =
        ids.size() == 1
            ? Fill(Translate("The track %s could not be deleted"), {Quoted(tracks.Get(TRACK_TITLE).ToString())})
            : Fill(Translate("The %d selected tracks could not be deleted"), {std::to_string(ids.size())});
    TellNotStored(what, Translate(ids.size() == 1 ? "It is still there." : "They are all still there."));
    return false;
}
