#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "playlists/RawPlaylist.h"

// M3U and M3U8: one location per line; "#EXTINF:seconds,Artist - Title" before
// an entry describes it, "#EXTART:" and "#EXTALB:" add its artist and album;
// other lines starting with '#' are comments.
RawPlaylist ParseM3u(std::string_view text);

// "#EXTM3U", then each entry with its "#EXTINF" line; locations relative to
// `folder` when the track lies below it.
std::string FormatM3u(const std::vector<PlaylistEntry>& entries, const std::string& folder);
