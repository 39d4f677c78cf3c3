#pragma once

#include "core/Value.h"

// Naming rules for music files, shared by the folder scan and the adding of tracks.
// Paths are byte strings: ':' and '\' are ordinary characters in a file name here.

// The part of a path after its last '/', or the whole path when it has none.
String PathLastComponent(const String& path);

// The name without folder and without its last extension ("a.b.mp3" -> "a.b");
// a name without '.' is taken whole.
String FileTitle(const String& path);

// True when the extension of the name (lower-cased) is one the folder scan takes:
// ".mp3", ".mp2", ".ogg", ".mid", ".wav", ".wma".
bool IsMusicFile(const String& name);

// Removes space, tab, line feed, vertical tab, form feed and carriage return.
String TrimRight(const String& text);
String TrimBoth(const String& text);
