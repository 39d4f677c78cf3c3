#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "playlists/RawPlaylist.h"

// XSPF version 1: <playlist xmlns="http://xspf.org/ns/0/"> with a <trackList> of
// <track>s, each with <location> (a URI), <title>, <creator>, <album> and
// <duration> in milliseconds. The bytes may be in any encoding XML allows.
RawPlaylist ParseXspf(std::string_view bytes);

// Locations are file URIs, or relative URI references for tracks below `folder`.
std::string FormatXspf(const std::vector<PlaylistEntry>& entries, const std::string& folder);
