#pragma once

#include <string>
#include <vector>

#include "core/Value.h"
#include "ui/FileSelector.h"

class Library;

// The Files menu's playlist commands: loading playlist files as new playlists,
// saving the selected playlist to a file, importing every playlist file of a
// folder, and exporting every playlist into a folder. Each command has its own
// selector, which remembers its folder for the rest of the run. Runs on the
// user-interface thread.
class PlaylistFiles {
public:
    explicit PlaylistFiles(Library& library);

    // Asks for playlist files; each becomes a new playlist named after the file,
    // its entries added in the file's order. One message lists what was skipped.
    void Load();
    // Asks for a file name and writes the selected playlist there; the format
    // follows the extension, M3U8 when the name has none of the known ones.
    void SaveAs();
    // Asks for a folder and loads every playlist file in it, in name order.
    void Import();
    // Asks for a folder and writes every playlist there as M3U8, one file each,
    // asking before an existing file is replaced.
    void Export();

    FileSelector& LoadSelector() { return loadSelector_; }
    FileSelector& SaveSelector() { return saveSelector_; }
    FolderSelector& ImportSelector() { return importSelector_; }
    FolderSelector& ExportSelector() { return exportSelector_; }

private:
    // Makes a playlist of each file and shows one summary of what was skipped.
    void LoadFiles(const std::vector<String>& files);

    Library& library_;
    FileSelector loadSelector_;
    FileSelector saveSelector_;
    FolderSelector importSelector_;
    FolderSelector exportSelector_;
};

// A playlist name made into a file name (without extension) that every common
// file system takes: no '/', '\', NUL or other control characters, not "." or
// "..", trimmed, at most 200 bytes, and unique among `taken` regardless of case
// (the result is added to it).
String ExportFileName(const String& playlistName, std::vector<String>& taken);
