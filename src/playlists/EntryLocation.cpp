#include "playlists/EntryLocation.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/AsciiCase.h"

namespace fs = std::filesystem;

namespace {

// No file system takes longer paths.
constexpr std::size_t kMaxPathBytes = 4096;
// Cached listings are dropped past this many folders, so a huge playlist of
// scattered missing files cannot grow the cache without bound.
constexpr std::size_t kMaxCachedFolders = 4096;

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "C:" followed by a separator or the end: a Windows drive.
bool HasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && IsAlpha(path[0]) && path[1] == ':' &&
           (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

// The scheme of "scheme:rest" (letters, digits, + - . after a first letter), or
// empty. A single letter is a drive, not a scheme.
std::string_view SchemeOf(std::string_view location)
{
    const std::size_t colon = location.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAlpha(location[0]))
        return {};
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = location[i];
        if (!IsAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return {};
    }
    return location.substr(0, colon);
}

std::string Normal(const fs::path& path) { return path.lexically_normal().string(); }

std::string ErrnoText(int error) { return std::strerror(error); }

std::vector<std::string> SplitComponents(std::string_view path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    return parts;
}

}  // namespace

bool PercentDecode(std::string_view text, std::string* decoded)
{
    auto hex = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        c = AsciiLower(c);
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    decoded->clear();
    decoded->reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded->push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = hex(text[i + 1]), low = hex(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return false;
        decoded->push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

std::string PercentEncodePath(std::string_view path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (IsAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[u >> 4]);
            out.push_back(kHex[u & 15]);
        }
    }
    return out;
}

std::string FileUri(const std::string& absolutePath) { return "file://" + PercentEncodePath(absolutePath); }

std::string PlaylistFolder(const std::string& path)
{
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error)
        absolute = path;
    return Normal(absolute.parent_path());
}

std::string PathForPlaylist(const std::string& track, const std::string& folder)
{
    const std::string normal = Normal(track);
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    if (normal.size() <= prefix.size() || normal.compare(0, prefix.size(), prefix) != 0)
        return normal;
    std::string relative = normal.substr(prefix.size());
    // A name that a reader would take for a comment, an address or a drive gets "./" in front.
    const std::size_t colon = relative.find(':');
    if (relative.front() == '#' || (colon != std::string::npos && colon < relative.find('/')))
        relative.insert(0, "./");
    return relative;
}

EntryResolver::EntryResolver(const std::string& playlistPath, MusicFilePredicate isMusicFile)
    : folder_(PlaylistFolder(playlistPath)), isMusicFile_(std::move(isMusicFile))
{
    struct stat self {};
    if (stat(playlistPath.c_str(), &self) == 0) {
        selfDevice_ = self.st_dev;
        selfInode_ = self.st_ino;
        selfKnown_ = true;
    }
}

std::string EntryResolver::Resolve(std::string_view location, bool uri, std::string* reason)
{
    if (location.find('\0') != std::string_view::npos) {
        *reason = "the entry holds a NUL byte";
        return {};
    }
    if (location.size() > kMaxPathBytes) {
        *reason = "the entry is too long to be a file path";
        return {};
    }
    std::string path(location);
    const std::string_view scheme = SchemeOf(location);
    if (!scheme.empty()) {
        if (!EqualIgnoringCase(scheme, "file")) {
            *reason = "a network address (" + std::string(scheme) + "), not a file on this computer; not played";
            return {};
        }
        std::string_view rest = location.substr(scheme.size() + 1);
        if (rest.substr(0, 2) == "//") {
            rest.remove_prefix(2);
            const std::size_t slash = rest.find('/');
            const std::string_view host = rest.substr(0, slash);
            if (!host.empty() && !EqualIgnoringCase(host, "localhost")) {
                *reason = "a file on another computer (" + std::string(host) + "); not played";
                return {};
            }
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        }
        uri = true;
        path = std::string(rest);
        // "file:///C:/Music/a.mp3" names a Windows drive.
        if (path.size() >= 3 && path[0] == '/' && HasDriveLetter(std::string_view(path).substr(1)))
            path.erase(0, 1);
    }
    if (uri) {
        std::string decoded;
        if (!PercentDecode(path, &decoded)) {
            *reason = "the address has a broken %-escape";
            return {};
        }
        path = std::move(decoded);
    }
    if (path.empty()) {
        *reason = "the entry names no file";
        return {};
    }

    // A name as written wins; only when it does not exist is it read as a Windows path.
    const std::string literal = Normal(fs::path(folder_) / path);
    struct stat info {};
    if (stat(literal.c_str(), &info) == 0)
        return Check(literal, info, reason);

    const bool drive = HasDriveLetter(path);
    const bool windows = drive || path.find('\\') != std::string::npos;
    std::string mapped = path;
    if (windows) {
        for (char& c : mapped)
            if (c == '\\')
                c = '/';
        if (mapped.rfind("//", 0) == 0) {
            *reason = "a file on a network share; not played";
            return {};
        }
        if (drive)
            mapped.erase(0, 2);  // the drive letter maps to "/"
    }
    const std::string candidate = Normal(fs::path(folder_) / mapped);
    if (stat(candidate.c_str(), &info) == 0)
        return Check(candidate, info, reason);
    if (std::string found = FindIgnoringCase(candidate); !found.empty() && stat(found.c_str(), &info) == 0)
        return Check(found, info, reason);

    if (windows && !mapped.empty() && mapped.front() == '/') {
        // A track of another computer's drive may lie in the same place relative to
        // the playlist here: try ever shorter tails of its path beside the playlist.
        const std::vector<std::string> parts = SplitComponents(mapped);
        for (std::size_t first = 1; first < parts.size(); ++first) {
            fs::path tail = folder_;
            for (std::size_t k = first; k < parts.size(); ++k)
                tail /= parts[k];
            const std::string tailPath = Normal(tail);
            if (stat(tailPath.c_str(), &info) == 0)
                return Check(tailPath, info, reason);
            if (std::string found = FindIgnoringCase(tailPath); !found.empty() && stat(found.c_str(), &info) == 0)
                return Check(found, info, reason);
        }
    }
    *reason = "file not found";
    return {};
}

std::string EntryResolver::Check(const std::string& path, const struct stat& info, std::string* reason) const
{
    if (S_ISDIR(info.st_mode)) {
        *reason = "a folder, not a file";
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        *reason = "not a regular file (a pipe, socket or device)";
        return {};
    }
    if (selfKnown_ && info.st_dev == selfDevice_ && info.st_ino == selfInode_) {
        *reason = "the playlist itself";
        return {};
    }
    if (access(path.c_str(), R_OK) != 0) {
        *reason = "cannot be read (" + ErrnoText(errno) + ")";
        return {};
    }
    if (isMusicFile_ && !isMusicFile_(path)) {
        *reason = "not a music file";
        return {};
    }
    return path;
}

const EntryResolver::FoldedNames& EntryResolver::Listing(const std::string& folder)
{
    if (const auto it = listings_.find(folder); it != listings_.end())
        return it->second;
    if (listings_.size() >= kMaxCachedFolders)
        listings_.clear();
    FoldedNames& names = listings_[folder];
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                names.emplace(AsciiLower(name), name);  // of names equal but for case, the first stays
        }
        closedir(dir);
    }
    return names;
}

std::string EntryResolver::FindIgnoringCase(const std::string& path)
{
    // Start below the deepest folder that exists as written; usually that is the file's own folder.
    const std::vector<std::string> parts = SplitComponents(path);
    std::size_t existing = parts.size();
    std::string found;
    struct stat info {};
    while (existing > 0) {
        --existing;
        found = "/";
        for (std::size_t k = 0; k < existing; ++k)
            found += (k ? "/" : "") + parts[k];
        if (stat(found.c_str(), &info) == 0)
            break;
    }
    for (std::size_t k = existing; k < parts.size(); ++k) {
        const FoldedNames& names = Listing(found);
        const auto match = names.find(AsciiLower(parts[k]));
        if (match == names.end())
            return {};
        found = found == "/" ? "/" + match->second : found + "/" + match->second;
    }
    return found;
}
