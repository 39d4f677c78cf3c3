#pragma once

#include <string>
#include <string_view>

#include "playlists/Playlist.h"

// Writes the bytes to a new file beside `path`, flushes it to the disk and
// renames it over `path`. On any failure the new file is removed and `path`
// keeps what it held; the result says what went wrong in plain words.
WriteResult WriteFileReplacing(const std::string& path, std::string_view bytes);
