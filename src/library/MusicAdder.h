#pragma once

#include <functional>
#include <vector>

#include "core/Value.h"
#include "library/BackgroundAdd.h"
#include "ui/FileSelector.h"

class GridCtrl;

// Adding music files and folders to the selected playlist's track grid: the two
// selectors, and the adds themselves, which read the files in the background
// (BackgroundAdd) so that the window stays live; a second add waits for the first.
class MusicAdder {
public:
    // `currentTracks` gives the grid to add to; `currentListId` the LISTS.ID
    // its tracks are stored under. Both are asked when an add is requested.
    MusicAdder(std::function<GridCtrl&()> currentTracks, std::function<Value()> currentListId);

    // Sets up both selectors: the music file type, several choices at once.
    void SetupSelectors();

    // Adds one file at once, on this thread: a new row (appended, or inserted at
    // the cursor row) with its tags and length, stored. A file that cannot be
    // played is not added; a message names it and says why.
    void AddTrack(bool append, const String& path);
    // Asks for files / a folder and adds them in the background; a cancelled
    // selector changes nothing.
    void AddFiles(bool append);
    void AddFolder(bool append);
    // Adds every music file below dir, depth first, in the background.
    void ScanFolder(bool append, const String& dir);
    void ScanFolders(bool append, const std::vector<String>& folders);
    // Files, folders (scanned) and the entries of playlist files in one add in
    // the background: appended, or inserted at the cursor row. `whenDone` runs
    // once the add has ended, unless its playlist went first.
    void AddPaths(const std::vector<String>& paths, bool append, std::function<void()> whenDone = {});

    FileSelector& Files() { return fileSelector_; }
    FolderSelector& Folders() { return folderSelector_; }
    BackgroundAdd& Adds() { return adds_; }

private:
    void RunAdd(bool append, PathSource source, const String& singleFile = {}, std::function<void()> whenDone = {});

    std::function<GridCtrl&()> currentTracks_;
    std::function<Value()> currentListId_;
    FileSelector fileSelector_;
    FolderSelector folderSelector_;
    BackgroundAdd adds_;
};
