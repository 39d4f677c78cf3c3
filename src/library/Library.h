#pragma once

#include <QLineEdit>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "data/SqlTransaction.h"
#include "library/MusicAdder.h"
#include "ui/Bar.h"
#include "ui/GridCtrl.h"

class PlaybackControl;
class QWidget;

// The music library as the window shows it: the playlists grid (ListGrid),
// one track grid per playlist (TrackLists, parallel to ListGrid's stored rows),
// the adding of music and the menus of both kinds of grid. The database follows
// every change statement by statement; the display order is written when the
// library goes. Everything runs on the user-interface thread.
class Library {
public:
    using TrackGrids = std::vector<std::unique_ptr<GridCtrl>>;

    // Track grids are made as hidden children of gridOwner; removals that
    // concern playback are told to it.
    Library(QWidget& gridOwner, PlaybackControl& playback);
    // Stops any add of music (what it stored stays), then saves the display
    // positions while every grid is still there.
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Asked to show a track grid beside ListGrid (the selected playlist changed).
    std::function<void(GridCtrl& tracks)> WhenShowTrackList;

    // Fills ListGrid and TrackLists from the database; makes "Playlist 1" when
    // there is no list, so afterwards there is at least one.
    void LoadLibrary();
    // Writes every list's and track's display position, in one transaction.
    void SavePositions();

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
    void ListInserted();
    void ListEdited();
    void ListRemoving();
    void ListCursorChanged();
    void AddListFromFolder();

    // ---- Track grid handlers and commands; they act on CurrentTrackList.
    void AddTrack(bool append, const String& path) { adder_.AddTrack(append, path); }
    void AddFiles(bool append) { adder_.AddFiles(append); }
    void AddFolder(bool append) { adder_.AddFolder(append); }
    void ScanFolder(bool append, const String& dir) { adder_.ScanFolder(append, dir); }
    void TrackRemoving();

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

private:
    QWidget& gridOwner_;
    PlaybackControl& playback_;
    MusicAdder adder_;
    // A removal of selected tracks, from the row marked first to the row marked last.
    std::optional<SqlTransaction> trackRemoval_;

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
};
