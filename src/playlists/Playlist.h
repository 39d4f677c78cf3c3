#pragma once

#include <functional>
#include <string>
#include <vector>

// Playlist files: M3U and M3U8, PLS (version 2) and XSPF. Paths and texts are
// UTF-8 byte strings. Reading never adds what cannot be played: each entry that
// is skipped is listed with the reason in plain words.

enum class PlaylistFormat { Unknown, M3u, M3u8, Pls, Xspf };

// The format that the file name's extension names (".m3u", ".m3u8", ".pls",
// ".xspf", in any case); Unknown for anything else.
PlaylistFormat PlaylistFormatOf(const std::string& path);

struct PlaylistEntry {
    std::string path;    // absolute, normalised
    std::string title;
    std::string artist;
    std::string album;
    long long lengthMs = -1;  // -1 when the playlist does not say
};

struct PlaylistProblem {
    std::string entry;   // the entry as the file gives it (shortened when very long)
    std::string reason;  // why it was not added
};

struct PlaylistFile {
    bool ok = false;
    std::string error;   // when not ok: why the file could not be read at all
    std::vector<PlaylistEntry> entries;
    std::vector<PlaylistProblem> problems;
};

// Decides whether an existing file is one the player takes (by its name).
using MusicFilePredicate = std::function<bool(const std::string& path)>;

// Reads a playlist file; the format comes from the extension, and a file
// with another extension is recognised by its content. Entries that are
// network addresses, missing, folders, pipes or devices, the playlist itself,
// or (with a predicate) not music files are reported, not added.
PlaylistFile ReadPlaylist(const std::string& path, const MusicFilePredicate& isMusicFile = {});

struct WriteResult {
    bool ok = false;
    std::string error;  // when not ok, in plain words; the previous file, if any, is unchanged
};

// Writes the entries in the format the extension names, in UTF-8 with LF line
// ends. Tracks below the playlist's folder are written relative to it, others
// with their absolute path. The file is written beside its final name and
// renamed into place, so a failure leaves no half-written file.
WriteResult WritePlaylist(const std::string& path, const std::vector<PlaylistEntry>& entries);
