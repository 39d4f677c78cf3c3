#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

#include "playlists/Playlist.h"

// Works out which file a playlist entry means, relative to the playlist's own
// place: relative and absolute paths, file URIs with percent-encoding, Windows
// paths with backslashes and drive letters. A path that does not exist as
// written is looked up again ignoring the case of its letters. Folder listings
// are cached for the life of the object, so a long playlist costs one listing
// per folder.
class EntryResolver {
public:
    EntryResolver(const std::string& playlistPath, MusicFilePredicate isMusicFile);

    // The absolute path of a playable file, or empty with `reason` set. `uri`
    // says the location is a URI reference, which is percent-decoded.
    std::string Resolve(std::string_view location, bool uri, std::string* reason);

private:
    // The path when the file it names (with the given status) is one to play.
    std::string Check(const std::string& path, const struct stat& info, std::string* reason) const;
    // A folder's entry names by their lower-case form.
    using FoldedNames = std::unordered_map<std::string, std::string>;

    std::string FindIgnoringCase(const std::string& path);
    const FoldedNames& Listing(const std::string& folder);

    std::string folder_;
    MusicFilePredicate isMusicFile_;
    dev_t selfDevice_ = 0;
    ino_t selfInode_ = 0;
    bool selfKnown_ = false;
    std::unordered_map<std::string, FoldedNames> listings_;
};

// Decodes %XX escapes; false when an escape is malformed or yields a NUL byte.
bool PercentDecode(std::string_view text, std::string* decoded);

// Percent-encodes everything but unreserved characters and '/'.
std::string PercentEncodePath(std::string_view path);

// "file://" and the percent-encoded absolute path.
std::string FileUri(const std::string& absolutePath);

// The track's path as a playlist in `folder` writes it: relative to the folder
// when the track lies below it, absolute otherwise. Both paths are absolute.
std::string PathForPlaylist(const std::string& track, const std::string& folder);

// The folder of the playlist at `path`, absolute and normalised.
std::string PlaylistFolder(const std::string& path);
