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
// "/"), binds the default cursor to it, then builds the window, loads the
// configuration "<title>.cfg" from folder, runs the window until it closes,
// stores the configuration and destroys the window. A database that cannot be
// opened or created is reported and nothing else happens.
// When another player already runs on folder's library, the arguments are
// handed to it (its window comes to the front) and nothing else happens.
void MainBody(Sqlite3Session& session, const String& folder, const String& title,
              const std::vector<std::string>& arguments = {});

// The same for the files next to the executable.
void MainBody(const std::vector<std::string>& arguments = {});
