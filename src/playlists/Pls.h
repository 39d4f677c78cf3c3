#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "playlists/RawPlaylist.h"

// PLS version 2: a "[playlist]" section with FileN=, TitleN=, LengthN= (seconds)
// for N from 1, NumberOfEntries= and Version=2. ArtistN= and AlbumN= carry what
// the title cannot; readers that do not know them skip them.
RawPlaylist ParsePls(std::string_view text);

std::string FormatPls(const std::vector<PlaylistEntry>& entries, const std::string& folder);
