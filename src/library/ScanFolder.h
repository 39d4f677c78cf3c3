#pragma once

#include <functional>

#include "core/Value.h"

// Joins a folder and an entry name with '/', unless the folder is empty or ends in '/'.
String JoinPath(const String& dir, const String& name);

// Walks a folder depth first and calls `addFile` with the full path of every music
// file below it (see IsMusicFile). Each folder's entries are visited sorted by name,
// case-insensitively, so an album comes in the order its files are named. Hidden
// entries are included; symbolic links to folders are followed, but no folder is
// visited twice, so a link loop ends. Folders that cannot be read are skipped,
// and so are pipes, sockets and devices.
void ScanFolder(const String& dir, const std::function<void(const String& path)>& addFile);
