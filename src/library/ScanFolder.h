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

// What a scan reports; each callback returns false to stop the scan.
struct ScanVisitor {
    // A music file, in scan order.
    std::function<bool(const String& path)> file;
    // A folder that cannot be read, a pipe, socket or device named like music, or a
    // music file or folder whose path is longer than the system allows; `reason` in
    // plain words. May be empty.
    std::function<bool(const String& path, const String& reason)> problem;
};

// The same walk, reporting what it had to skip; false when a callback stopped it.
bool ScanFolder(const String& dir, const ScanVisitor& visitor);
