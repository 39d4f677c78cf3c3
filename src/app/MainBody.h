#pragma once

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
// window until it closes (first adding `open` to the current playlist and
// playing it), stores the configuration and destroys the window. A database
// that cannot be opened or created is reported and nothing else happens.
void MainBody(Sqlite3Session& session, const String& folder, const String& title,
              const std::vector<String>& open = {});

// The same for the files next to the executable.
void MainBody(const std::vector<String>& open = {});
