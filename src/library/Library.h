#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "data/SqlTransaction.h"
#include "library/MusicAdder.h"
#include "library/PlaylistFiles.h"
#include "library/StoredOrder.h"
#include "ui/Bar.h"
#include "ui/GridCtrl.h"

class PlaybackControl;
class QWidget;

// The music library as the window shows it: the playlists grid (ListGrid),
// one track grid per playlist (TrackLists, parallel to ListGrid's stored rows),
// the adding of music and the menus of both kinds of grid. The database follows
// every change statement by statement, and the display order with every user
// action that changes it. A change the database refuses is told to the user
// once, and the grids go back to what is stored. Everything runs on the
// user-interface thread.
class Library {
public:
    using TrackGrids = std::vector<std::unique_ptr<GridCtrl>>;

    // Track grids are made as hidden children of gridOwner; removals that
    // concern playback are told to it.
    Library(QWidget& gridOwner, PlaybackControl& playback);
    // Stops any add of music (what it stored stays), remembers what plays for
    // the next start, then saves the display positions while every grid is
    // still there.
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Asked to show a track grid beside ListGrid (the selected playlist changed).
    std::function<void(GridCtrl& tracks)> WhenShowTrackList;
    // Told of each track grid as it is made.
    std::function<void(GridCtrl& tracks)> WhenTrackListMade;

    // Fills ListGrid and TrackLists from the database; makes "Playlist 1" when
    // there is no list, so afterwards there is at least one.
    void LoadLibrary();
    // Writes every list's and track's display position, in one transaction;
    // says so when that fails while some order is not stored yet.
    void SavePositions();
    // At exit: remembers the started track's playlist, track and position for
    // the next start, or that nothing was started.
    void RememberPlaying();
    // At start, once loaded: selects the remembered playlist and has its track
    // wait paused at the remembered position. A playlist, track or file that is
    // gone since is passed over without a word.
    void ResumePlaying();
    // Writes the positions that changed since they were last stored: of the
    // lists, or of one track grid's entries. False (the user told) on failure.
    bool StoreListOrder();
    bool StoreTrackOrder(GridCtrl& tracks);

    const TrackGrids& TrackLists() const { return trackLists_; }
    // The track grid of the playlist under ListGrid's cursor (the first one
    // while there is no cursor row, as while the window is built).
    GridCtrl& CurrentTrackList();
    // The same, but null when no playlist is selected.
    GridCtrl* SelectedTrackList();
    // A new, empty track grid in TrackLists: appended when index is negative,
    // otherwise inserted at index.
    GridCtrl& NewTrackList(int index = -1);

    // ---- Playlists grid handlers and commands.
    // Keeps a playlist name still being typed when the window closes, as Enter would.
    void FinishEditing();
    // Trims the name; an empty one becomes "Playlist <number of lists>" (true then).
    bool FixListName(String& name);
    // False when the database refused the change (the user has been told).
    bool ListInserted();
    bool ListEdited();
    void ListRemoving();
    void ListCursorChanged();
    void AddListFromFolder();
    // A new playlist named after the first folder or playlist file, holding the
    // music files of every folder and the entries of every playlist file.
    void AddListFrom(const std::vector<String>& paths);
    // A new playlist at the end, named `name` and under the cursor, so the next
    // add goes into it. False when the database refused it: the user has been
    // told and the row is gone again.
    bool AppendList(const String& name);

    // ---- Track grid handlers and commands; they act on CurrentTrackList.
    // Adds one file at once; the positions it shifts are stored with it.
    void AddTrack(bool append, const String& path);
    // Adds in the background; each batch also stores the positions of the rows it moved down.
    void AddFiles(bool append) { adder_.AddFiles(append); }
    void AddFolder(bool append) { adder_.AddFolder(append); }
    void ScanFolder(bool append, const String& dir) { adder_.ScanFolder(append, dir); }
    // Files, folders and the entries of playlist files in one add in the
    // background; `whenDone` runs once it has ended (see MusicAdder::AddPaths).
    void AddPaths(const std::vector<String>& paths, bool append, std::function<void()> whenDone = {})
    {
        adder_.AddPaths(paths, append, std::move(whenDone));
    }
    void TrackRemoving();

    // Shows the grids' captions and the file selector's type names in the current
    // language; runs when the language changes.
    void Retranslate();

    // ---- Menus: builders run each time the menu opens.
    void ListAddMenu(Bar& bar);
    void ListMenu(Bar& bar);
    void ShowListAddMenu();
    void TrackAddMenu(Bar& bar);
    void TrackMenu(Bar& bar);
    void ShowTrackAddMenu();

    FileSelector& Files() { return adder_.Files(); }
    FolderSelector& Folders() { return adder_.Folders(); }
    // The adds of music running in the background, and those waiting behind them.
    BackgroundAdd& Adds() { return adder_.Adds(); }
    // Load, Save as, Import and Export of playlist files.
    PlaylistFiles& PlaylistCommands() { return playlistFiles_; }

private:
    QWidget& gridOwner_;
    PlaybackControl& playback_;
    MusicAdder adder_;
    PlaylistFiles playlistFiles_{*this};
    // A removal of selected tracks is stored as a whole at the row marked
    // first; the rows after it, up to the one marked last, are already gone.
    bool removingSelection_ = false;
    // What POS each list and each list's entries hold in the database
    // (entries by LISTS.ID of their list).
    StoredOrder listOrder_;
    std::unordered_map<int64_t, StoredOrder> trackOrders_;

public:
    // Declared in this order so ListGrid, which edits with NameEditor, goes
    // first and the track grids before the editor.
    QLineEdit NameEditor;

private:
    TrackGrids trackLists_;

public:
    GridCtrl ListGrid;

private:
    void SetupListGrid();
    // The name cell of the current row, trimmed or defaulted, written back when changed.
    String FixedListName();
    void ShowTrackList(GridCtrl& tracks);
    // The keys in display order: the lists' IDs, or a track grid's IDPLs.
    std::vector<Value> ListKeys();
    static std::vector<Value> TrackKeys(GridCtrl& tracks);
    // The LISTS.ID of the playlist a track grid belongs to (Null when none).
    Value ListIdOf(const GridCtrl& tracks);
    // Whether some display order is not stored yet.
    bool OrderPending();
    // The positions a batch of added tracks changes, written in its
    // transaction; see BackgroundAdd::PlanOrder.
    BackgroundAdd::OrderPlan PlanAddedOrder(GridCtrl& tracks, const std::vector<Value>& tail, size_t from,
                                            const std::vector<std::pair<Value, int>>& inserted);
    // Stores the IDs of the selected rows (or of the current row alone).
    bool RemoveTrackRows(GridCtrl& tracks);
};
