#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "core/Value.h"

// Naming rules for music files, shared by the folder scan, the file selector and
// the adding of tracks. Paths are byte strings: ':' and '\' are ordinary
// characters in a file name here.

// The part of a path after its last '/', or the whole path when it has none.
String PathLastComponent(const String& path);

// The name without folder and without its last extension ("a.b.mp3" -> "a.b");
// a name without '.' is taken whole.
String FileTitle(const String& path);

// Every extension the player takes, lower case with the dot; the first six are
// the long-standing ones, in their order.
const std::vector<std::string_view>& MusicExtensions();

// True when the extension of the name (lower-cased) is one of MusicExtensions().
bool IsMusicFile(const String& name);

// The file selector's types as (name, patterns): "Music files" with every music
// extension, one entry per family (every music extension lies in exactly one),
// "Playlists" for loading and importing playlist files, then "All files".
std::vector<std::pair<String, String>> MusicFileTypes();
// The index of "Playlists" in MusicFileTypes(), to make it the chosen type.
int PlaylistTypeIndex();

// The types of a selector that chooses only playlist files: "Playlists", "All files".
std::vector<std::pair<String, String>> PlaylistFileTypes();

// Removes space, tab, line feed, vertical tab, form feed and carriage return.
String TrimRight(const String& text);
String TrimBoth(const String& text);
