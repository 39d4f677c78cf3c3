#pragma once

#include <string>
#include <vector>

#include "playlists/Playlist.h"

// A playlist as a format's parser reads it, before its locations are resolved.
struct RawEntry {
    std::string location;  // as written, trimmed
    bool uri = false;      // a URI reference: percent-encoded
    std::string title;
    std::string artist;
    std::string album;
    long long lengthMs = -1;
};

struct RawPlaylist {
    std::string error;  // set when the file is not a playlist of the format at all
    std::vector<RawEntry> entries;
    std::vector<PlaylistProblem> problems;
};

// Metadata texts are cut to this many bytes (at a character boundary).
inline constexpr std::size_t kMaxFieldBytes = 1024;
std::string LimitField(std::string text);

// Splits "Artist - Title". A known artist that the text starts with wins;
// otherwise the first " - " divides them, and without one it is all title.
void SplitDisplayTitle(const std::string& display, const std::string& knownArtist, RawEntry* entry);

// "Artist - Title" as M3U and PLS show a track.
std::string DisplayTitle(const PlaylistEntry& entry);

// Whole seconds of a length for the formats that count in seconds; -1 when unknown.
long long LengthSeconds(long long lengthMs);
