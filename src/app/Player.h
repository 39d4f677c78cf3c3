#pragma once

#include <QLineEdit>
#include <functional>
#include <memory>
#include <vector>

#include "app/PlayerLayout.h"
#include "library/RowRepaint.h"
#include "playback/AudioEngine.h"
#include "ui/Bar.h"
#include "ui/FileSelector.h"
#include "ui/GridCtrl.h"
#include "ui/TopWindow.h"

// The program's one window: the playlists beside the tracks of the selected
// playlist, and the playback controls along the bottom.
class Player : public WithPlayerLayout<TopWindow> {
public:
    static constexpr int kSplitterPos = 2000;

    // Builds and wires the whole window. Ends the process with code 1 when
    // the audio engine cannot be initialised.
    Player();
    // Saves the display positions of all lists and tracks, then closes the
    // audio engine after the grids are gone.
    ~Player() override;

    // The window's state in the configuration file, in this order: placement,
    // file selector, folder selector, splitter, volume, one column layout per
    // track grid.
    void Serialize(Stream& s) override;

    // The title: the program's name, version and build time.
    static String MakeTitle();

    // ---- Menus: builders run each time the menu opens.
    void MainMenu(Bar& bar);
    void FilesMenu(Bar& bar);
    void LanguageMenu(Bar& bar);

    // ---- Playback actions of the controls.
    void Play();
    void StopPlayback();
    void PlayPrevious();
    void PlayNext();
    void Seek();
    void VolumeChanged();

    // ---- Playback
    // Time callback 0: position display and the advance at the end of a track.
    void Tick();
    // Time callback 1: alternates the play button's two faces of the current state.
    void Blink();
    // The data row of PlayingList holding the track with PlayingId; -1 when none does.
    int FindPlayingRow();

    // The grid of tracks belonging to the playlist under ListGrid's cursor.
    GridCtrl& CurrentTrackList();
    // A new, empty track grid in TrackLists: appended when index is negative,
    // otherwise inserted at index.
    GridCtrl& NewTrackList(int index = -1);

    AudioEngine& Engine() { return engine; }
    FileSelector& Files() { return fileSelector; }
    FolderSelector& Folders() { return folderSelector; }

    // ---- Members, in construction order.
protected:
    AudioEngine engine;
    FileSelector fileSelector;
    FolderSelector folderSelector;

public:
    bool Started = false;
    int PlayingId = -1;
    QLineEdit NameEditor;
    std::vector<std::unique_ptr<GridCtrl>> TrackLists;
    GridCtrl* PlayingList = nullptr;
    GridCtrl ListGrid;

    // ---- Library (playlists and track grids)
    // Playlists grid handlers and commands.
    void LoadLibrary();
    // Keeps a playlist name still being typed when the window closes, as Enter would.
    void FinishEditing();
    bool FixListName(String& name);
    void ListInserted();
    void ListEdited();
    void ListRemoving();
    void ListCursorChanged();
    void ListAddMenu(Bar& bar);
    void ListMenu(Bar& bar);
    void ShowListAddMenu();
    void AddListFromFolder();
    // Track grid handlers and commands; they act on CurrentTrackList.
    void AddTrack(bool append, const String& path);
    void AddFiles(bool append);
    void AddFolder(bool append);
    void ScanFolder(bool append, const String& dir);
    void TrackRemoving();
    void TrackAddMenu(Bar& bar);
    void TrackMenu(Bar& bar);
    void ShowTrackAddMenu();
    // Double-click or Enter in a track grid.
    void PlaySelected();

private:
    // The name cell of the current row, trimmed or defaulted, written back when changed.
    String FixedListName();
    void ShowTrackList(GridCtrl& tracks);
    // Runs an add of files or folders in one transaction, with the wait cursor.
    void RunAdd(const std::function<void()>& add);
    RowRepaint rowRepaint_;
    // Stores the tracks while an add runs; none outside of one.
    class TrackInserter* trackInserter_ = nullptr;

private:
    // Playback helpers.
    // PlayingList, taking the selected playlist's grid when none is followed yet;
    // null when no playlist is selected.
    GridCtrl* FollowedList();
    void RemovePlayingHighlight();
    void ShowPlayingPosition();

private:
    void SetupListGrid();
    void ConnectActions();
    void SavePositions();
    // A track grid's whole column layout (each column's caption, width and hidden
    // flag) as one block of the configuration record.
    static void SerializeColumns(Stream& s, GridCtrl& grid);
};

// Shows an image as a button's face.
void SetFace(QPushButton& button, const QImage& image);
