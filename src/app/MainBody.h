#pragma once

#include <string>
#include <vector>

#include "core/Value.h"

class Sqlite3Session;

// The one session on the library database; it lives until the process ends.
Sqlite3Session& LibrarySession();

// The file names next to the executable.
inline constexpr const char* kDatabaseFileName = "QuillonPlayer.db3";

// Sets the language, opens the library database in folder (which ends in
// "/"), binds the default cursor to it, then builds the window, joins it to
// the desktop, loads the configuration "<title>.cfg" from folder, runs the
// window until it closes (first adding `paths` to the current playlist and
// playing the first), stores the configuration and destroys the window. A
// database that cannot be opened or created is reported and nothing else
// happens.
// When another player already runs on folder's library, the paths are handed
// to it (its window comes to the front and opens them) and nothing else happens.
void MainBody(Sqlite3Session& session, const String& folder, const String& title,
              const std::vector<std::string>& paths = {});

// The same for the files next to the executable.
void MainBody(const std::vector<std::string>& paths = {});
