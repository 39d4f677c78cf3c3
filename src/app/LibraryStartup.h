#pragma once

#include "core/Value.h"

class Sqlite3Session;

// Opens the library database at path and makes sure it can be read before any
// window shows it:
// - a file that cannot be opened or created is reported ("Can't create or open
//   database file");
// - a library locked by another program is reported with Retry and Quit;
// - a damaged file, or one that is not a database, is reported; only when the
//   user agrees is it renamed aside (its bytes untouched, the name dated, e.g.
//   QuillonPlayer.db3.damaged-2026-12-09) and a fresh library created;
// - missing tables are created.
// True when the library is open and ready; false when the program should end
// without writing anything (the session is then closed).
bool OpenLibrary(Sqlite3Session& session, const String& path, const String& title);

// The name a damaged library file is kept under: path + ".damaged-" + the
// local date, with "-2", "-3", ... appended while that name is taken.
String DamagedFileName(const String& path);
