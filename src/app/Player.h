#pragma once

#include <QLineEdit>
#include <memory>
#include <vector>

#include "app/Language.h"
#include "app/PlayerLayout.h"
#include "app/WindowSight.h"
#include "library/Library.h"
#include "playback/AudioEngine.h"
#include "playback/PlaybackControl.h"
#include "ui/Bar.h"
#include "ui/FileSelector.h"
#include "ui/GridCtrl.h"
#include "ui/TopWindow.h"

// The program's one window: the playlists beside the tracks of the selected
// playlist, and the playback controls along the bottom. It lays the controls
// out and composes the parts; playback and the library do the work, and the
// operations below forward to them under the names the rest of the program uses.
class Player : public WithPlayerLayout<TopWindow> {
public:
    static constexpr int kSplitterPos = 2000;

    // Builds and wires the whole window. Ends the process with code 1 when
    // the audio engine cannot be initialised.
    Player();
    // The members go in reverse order of declaration: the library first (it
    // saves the display positions while every grid is there), then playback
    // (its time callbacks stop), and the engine last, closing the audio library
    // once nothing can use it any more.
    ~Player() override;

    // The window's state in the configuration file, in this order: placement,
    // file selector, folder selector, splitter, volume, one column layout per
    // track grid.
    void Serialize(Stream& s) override;

    // The title: the program's name, version and build time.
    static String MakeTitle();

    // ---- Menus of the menu bar: builders run each time the menu opens.
    void MainMenu(Bar& bar);
    void FilesMenu(Bar& bar);
    void LanguageMenu(Bar& bar);
    // The loudness correction: Off, Track, Album or Automatic, one of them marked.
    void PlaybackMenu(Bar& bar);
    // Switches every text of the program to the language at once and keeps the
    // choice in the library database for the next start.
    void ChooseLanguage(LanguageChoice choice);
    // Plays with the loudness correction from now on and keeps the choice for the next start.
    void ChooseReplayGain(ReplayGainMode mode);

    // ---- Members, in construction order.
private:
    AudioEngine engine;

public:
    PlaybackControl playback;
    Library library;

    // ---- The library's grids and playback's state under their own names.
    GridCtrl& ListGrid = library.ListGrid;
    QLineEdit& NameEditor = library.NameEditor;
    const Library::TrackGrids& TrackLists = library.TrackLists();
    bool Started() const { return playback.Started(); }
    int PlayingId() const { return playback.PlayingId(); }
    GridCtrl* PlayingList() const { return playback.PlayingList(); }

    AudioEngine& Engine() { return engine; }
    FileSelector& Files() { return library.Files(); }
    FolderSelector& Folders() { return library.Folders(); }

    // ---- Playback
    void Play() { playback.Play(); }
    void StopPlayback() { playback.StopPlayback(); }
    void PlayPrevious() { playback.PlayPrevious(); }
    void PlayNext() { playback.PlayNext(); }
    void PlaySelected() { playback.PlaySelected(); }
    void Seek() { playback.Seek(); }
    void VolumeChanged() { playback.VolumeChanged(); }
    void Tick() { playback.Tick(); }
    void Blink() { playback.Blink(); }
    int FindPlayingRow() const { return playback.FindPlayingRow(); }

    // ---- Library
    void LoadLibrary() { library.LoadLibrary(); }
    void FinishEditing() { library.FinishEditing(); }
    GridCtrl& CurrentTrackList() { return library.CurrentTrackList(); }
    GridCtrl& NewTrackList(int index = -1) { return library.NewTrackList(index); }
    bool FixListName(String& name) { return library.FixListName(name); }
    void ListInserted() { library.ListInserted(); }
    void ListEdited() { library.ListEdited(); }
    void ListRemoving() { library.ListRemoving(); }
    void ListCursorChanged() { library.ListCursorChanged(); }
    void ListAddMenu(Bar& bar) { library.ListAddMenu(bar); }
    void ListMenu(Bar& bar) { library.ListMenu(bar); }
    void ShowListAddMenu() { library.ShowListAddMenu(); }
    void AddListFromFolder() { library.AddListFromFolder(); }
    void AddTrack(bool append, const String& path) { library.AddTrack(append, path); }
    void AddFiles(bool append) { library.AddFiles(append); }
    void AddFolder(bool append) { library.AddFolder(append); }
    void ScanFolder(bool append, const String& dir) { library.ScanFolder(append, dir); }
    void AddPaths(const std::vector<String>& paths, bool append, std::function<void()> whenDone = {})
    {
        library.AddPaths(paths, append, std::move(whenDone));
    }
    void AddListFrom(const std::vector<String>& paths) { library.AddListFrom(paths); }
    void TrackRemoving() { library.TrackRemoving(); }
    void TrackAddMenu(Bar& bar) { library.TrackAddMenu(bar); }
    void TrackMenu(Bar& bar) { library.TrackMenu(bar); }
    void ShowTrackAddMenu() { library.ShowTrackAddMenu(); }

private:
    // Places ListGrid and the selected playlist's tracks as the splitter's panes.
    void ShowTrackList(GridCtrl& tracks);
    void ConnectActions();
    // The progress line takes the now-playing panel's place while music is added.
    void ConnectAdds();
    // The window's own texts in the current language: the labelled buttons, the
    // bars' labels and the menu bar's entries. Runs when the language changes.
    void Retranslate();
    // A track grid's whole column layout (each column's caption, width and hidden
    // flag) as one block of the configuration record.
    static void SerializeColumns(Stream& s, GridCtrl& grid);

    // Playback draws nothing and stops polling while nobody can see the window.
    WindowSight sight_{*this};
};
