#include "library/ScanFolder.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <cerrno>
#include <climits>
#include <cstring>

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
    bool special = false;  // a pipe, socket or device
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

String FolderProblem(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "cannot read folder: permission denied";
    case ENOENT:
    case ENOTDIR:
        return "cannot read folder: it is gone";
    default:
        return String("cannot read folder: ") + std::strerror(error);
    }
}

// Reads one folder's entries, sorted; false (errno kept) when the folder cannot be opened.
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
        // an entry that cannot be examined (a dangling link, a path too long) is treated as a file.
        const bool examined = stat(JoinPath(dir, name).c_str(), &info) == 0;
        const bool isDir = examined && S_ISDIR(info.st_mode);
        // Pipes, sockets and devices are no music files: opening a pipe to read
        // its tags would wait for a writer and freeze the whole add.
        const bool special = examined && !isDir && !S_ISREG(info.st_mode);
        entries.push_back({name, isDir, special});
    }
    std::sort(entries.begin(), entries.end(), NameLess);
    return true;
}

class Scan {
public:
    explicit Scan(const ScanVisitor& visitor) : visitor_(visitor) {}

    // False once the visitor asked to stop.
    bool Folder(const String& dir)
    {
        struct stat info {};
        if (stat(dir.empty() ? "." : dir.c_str(), &info) != 0)
            return Problem(dir, FolderProblem(errno));
        if (!visited_.insert({info.st_dev, info.st_ino}).second)
            return true;  // reached again through a link
        std::vector<Entry> entries;
        if (!ReadEntries(dir, entries))
            return Problem(dir, FolderProblem(errno));
        for (const Entry& entry : entries) {
            const String path = JoinPath(dir, entry.name);
            const bool wanted = entry.isDir || IsMusicFile(entry.name);
            if (wanted && path.size() >= PATH_MAX) {
                if (!Problem(path, "path longer than the system allows"))
                    return false;
                continue;
            }
            if (entry.special) {
                if (wanted && !Problem(path, "not a regular file"))
                    return false;
                continue;
            }
            if (entry.isDir ? !Folder(path) : (wanted && !visitor_.file(path)))
                return false;
        }
        return true;
    }

private:
    bool Problem(const String& path, const String& reason)
    {
        return !visitor_.problem || visitor_.problem(path, reason);
    }

    const ScanVisitor& visitor_;
    std::set<FolderId> visited_;
};

} // namespace

String JoinPath(const String& dir, const String& name)
{
    if (dir.empty() || dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

bool ScanFolder(const String& dir, const ScanVisitor& visitor)
{
    return Scan(visitor).Folder(dir);
}

void ScanFolder(const String& dir, const std::function<void(const String& path)>& addFile)
{
    ScanFolder(dir, ScanVisitor{[&](const String& path) { addFile(path); return true; }, {}});
}
