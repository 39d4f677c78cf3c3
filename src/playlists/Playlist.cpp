#include "playlists/Playlist.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "playlists/EntryLocation.h"
#include "playlists/M3u.h"
#include "playlists/PlaylistText.h"
#include "playlists/Pls.h"
#include "playlists/SafeWrite.h"
#include "playlists/Xspf.h"

namespace {

// Far more than any real playlist; a larger file is not read into memory.
constexpr long long kMaxPlaylistBytes = 64ll << 20;

std::string LowerExtension(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

PlaylistFile Failed(const std::string& path, const std::string& why)
{
    PlaylistFile file;
    file.error = "The playlist " + path + " cannot be read: " + why + ".";
    return file;
}

// Reads the whole file without blocking on a pipe or device given as the playlist.
bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* why)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = std::strerror(errno);
        return false;
    }
    struct stat info {};
    bool ok = fstat(fd, &info) == 0;
    if (!ok)
        *why = std::strerror(errno);
    else if (S_ISDIR(info.st_mode))
        *why = "it is a folder", ok = false;
    else if (!S_ISREG(info.st_mode))
        *why = "it is not a regular file", ok = false;
    else if (info.st_size > kMaxPlaylistBytes)
        *why = "it is larger than " + std::to_string(kMaxPlaylistBytes >> 20) + " MB", ok = false;
    if (ok) {
        bytes->resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < bytes->size()) {
            const ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                *why = std::strerror(errno), ok = false;
                break;
            }
            if (n == 0)
                break;  // the file shrank meanwhile
            got += static_cast<std::size_t>(n);
        }
        bytes->resize(got);
    }
    close(fd);
    return ok;
}

// A file whose extension names no playlist format is recognised by how it starts.
PlaylistFormat Sniff(std::string_view text)
{
    const std::string_view start = TrimBlanks(text.substr(0, 256));
    if (start.rfind("<", 0) == 0)
        return PlaylistFormat::Xspf;
    if (start.size() >= 10) {
        std::string head(start.substr(0, 10));
        for (char& c : head)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        if (head == "[playlist]")
            return PlaylistFormat::Pls;
    }
    return PlaylistFormat::M3u;
}

const char* FormatName(PlaylistFormat format)
{
    switch (format) {
    case PlaylistFormat::Pls:
        return "PLS";
    case PlaylistFormat::Xspf:
        return "XSPF";
    default:
        return "M3U";
    }
}

}  // namespace

PlaylistFormat PlaylistFormatOf(const std::string& path)
{
    const std::string ext = LowerExtension(path);
    if (ext == ".m3u")
        return PlaylistFormat::M3u;
    if (ext == ".m3u8")
        return PlaylistFormat::M3u8;
    if (ext == ".pls")
        return PlaylistFormat::Pls;
    if (ext == ".xspf")
        return PlaylistFormat::Xspf;
    return PlaylistFormat::Unknown;
}

PlaylistFile ReadPlaylist(const std::string& path, const MusicFilePredicate& isMusicFile)
{
    std::string bytes, why;
    if (!ReadWholeFile(path, &bytes, &why))
        return Failed(path, why);
    if (bytes.empty())
        return Failed(path, "the file is empty");
    if (LooksBinary(bytes))
        return Failed(path, "it holds binary data, not a list of files");

    PlaylistFormat format = PlaylistFormatOf(path);
    if (format == PlaylistFormat::Unknown)
        format = Sniff(bytes);
    RawPlaylist raw;
    if (format == PlaylistFormat::Xspf)
        raw = ParseXspf(bytes);  // the XML reader decodes what the document declares
    else {
        const std::string text = DecodePlaylistText(bytes);
        raw = format == PlaylistFormat::Pls ? ParsePls(text) : ParseM3u(text);
    }
    if (!raw.error.empty())
        return Failed(path, std::string("it is not a valid ") + FormatName(format) + " playlist: " + raw.error);

    PlaylistFile file;
    file.ok = true;
    file.problems = std::move(raw.problems);
    EntryResolver resolver(path, isMusicFile);
    for (RawEntry& entry : raw.entries) {
        std::string reason;
        std::string resolved = resolver.Resolve(entry.location, entry.uri, &reason);
        if (resolved.empty()) {
            file.problems.push_back({ShortenForReport(entry.location), std::move(reason)});
            continue;
        }
        file.entries.push_back(PlaylistEntry{std::move(resolved), std::move(entry.title), std::move(entry.artist),
                                             std::move(entry.album), entry.lengthMs});
    }
    return file;
}

WriteResult WritePlaylist(const std::string& path, const std::vector<PlaylistEntry>& entries)
{
    const PlaylistFormat format = PlaylistFormatOf(path);
    const std::string folder = PlaylistFolder(path);
    switch (format) {
    case PlaylistFormat::M3u:
    case PlaylistFormat::M3u8:
        return WriteFileReplacing(path, FormatM3u(entries, folder));
    case PlaylistFormat::Pls:
        return WriteFileReplacing(path, FormatPls(entries, folder));
    case PlaylistFormat::Xspf:
        return WriteFileReplacing(path, FormatXspf(entries, folder));
    case PlaylistFormat::Unknown:
        break;
    }
    return WriteResult{false, "The playlist " + path +
                                  " was not written: its name must end in .m3u8, .m3u, .pls or .xspf."};
}
