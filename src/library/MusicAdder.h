#pragma once

#include <functional>
#include <vector>

#include "core/Value.h"
#include "library/RowRepaint.h"
#include "ui/FileSelector.h"

class AudioEngine;
class GridCtrl;
class SkippedSummary;
class TrackInserter;

// Adding music files and folders to the selected playlist's track grid: the
// two selectors, the tag reading through the engine and the storing of each
// track. Every add command runs in one transaction with the wait cursor shown.
class MusicAdder {
public:
    // `currentTracks` gives the grid to add to; `currentListId` the LISTS.ID
    // its tracks are stored under.
    MusicAdder(AudioEngine& engine, std::function<GridCtrl&()> currentTracks,
               std::function<Value()> currentListId);

    // Sets up both selectors: the music file type, several choices at once.
    void SetupSelectors();

    // Adds one file: a new row (appended, or inserted at the cursor row), its
    // tags and length read through the engine, stored. A file the engine cannot
    // open leaves a row holding only its path, never stored.
    void AddTrack(bool append, const String& path);
    // Asks for files / a folder and adds them; a cancelled selector changes nothing.
    void AddFiles(bool append);
    void AddFolder(bool append);
    // Adds every music file below dir, depth first.
    void ScanFolder(bool append, const String& dir);
    // Scans the folders in one transaction, with the wait cursor shown.
    void ScanFolders(bool append, const std::vector<String>& folders);
    // Files, folders (scanned) and the entries of playlist files in one add, in
    // one transaction: appended, or inserted at the cursor row. Playlist entries
    // that could not be added are listed in one message at the end.
    void AddPaths(const std::vector<String>& paths, bool append);

    FileSelector& Files() { return fileSelector_; }
    FolderSelector& Folders() { return folderSelector_; }

private:
    // Runs an add of files or folders in one transaction, with the wait cursor.
    void RunAdd(const std::function<void()>& add);
    // Inserting needs a cursor row: into an empty playlist the files are appended.
    bool AppendsAnyway(bool append);
    void AddPlaylistEntries(bool append, const String& path, SkippedSummary& skipped);

    AudioEngine& engine_;
    std::function<GridCtrl&()> currentTracks_;
    std::function<Value()> currentListId_;
    FileSelector fileSelector_;
    FolderSelector folderSelector_;
    RowRepaint rowRepaint_;
    // Stores the tracks while an add runs; none outside of one.
    TrackInserter* trackInserter_ = nullptr;
};
