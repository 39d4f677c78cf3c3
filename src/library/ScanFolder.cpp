#include "library/ScanFolder.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

#include "library/MusicFiles.h"

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

struct Entry {
    String name;
    bool isDir = false;
};

using FolderId = std::pair<dev_t, ino_t>;

int CompareFolded(const String& a, const String& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto fold = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u;
        };
        const int ca = fold(a[i]), cb = fold(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Case-insensitive order with a byte-order tie-break, so the order is total.
bool NameLess(const Entry& a, const Entry& b)
{
    const int folded = CompareFolded(a.name, b.name);
    return folded != 0 ? folded < 0 : a.name < b.name;
}

// Reads one folder's entries, sorted; returns false when the folder cannot be opened.
bool ReadEntries(const String& dir, std::vector<Entry>& entries)
{
    DirHandle handle(opendir(dir.empty() ? "." : dir.c_str()));
    if (!handle)
        return false;
    while (const dirent* ent = readdir(handle.get())) {
        const String name = ent->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        // stat follows symbolic links, so a link to a folder counts as a folder;
        // an entry that cannot be examined (a dangling link) is treated as a file.
        const bool examined = stat(JoinPath(dir, name).c_str(), &info) == 0;
        const bool isDir = examined && S_ISDIR(info.st_mode);
        // Pipes, sockets and devices are no music files: opening a pipe to read
        // its tags would wait for a writer and freeze the whole add.
        if (examined && !isDir && !S_ISREG(info.st_mode))
            continue;
        entries.push_back({name, isDir});
    }
    std::sort(entries.begin(), entries.end(), NameLess);
    return true;
}

void ScanOne(const String& dir, const std::function<void(const String&)>& addFile,
             std::set<FolderId>& visited)
{
    struct stat info {};
    if (stat(dir.empty() ? "." : dir.c_str(), &info) != 0)
        return;
    if (!visited.insert({info.st_dev, info.st_ino}).second)
        return;  // reached again through a link
    std::vector<Entry> entries;
    if (!ReadEntries(dir, entries))
        return;
    for (const Entry& entry : entries) {
        const String path = JoinPath(dir, entry.name);
        if (entry.isDir)
            ScanOne(path, addFile, visited);
        else if (IsMusicFile(entry.name))
            addFile(path);
    }
}

} // namespace

String JoinPath(const String& dir, const String& name)
{
    if (dir.empty() || dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

void ScanFolder(const String& dir, const std::function<void(const String& path)>& addFile)
{
    std::set<FolderId> visited;
    ScanOne(dir, addFile, visited);
}
