#pragma once

#include "core/Value.h"

// Why the database refused a statement, in the terms the user can act on.
enum class SqlErrorKind {
    None,      // no error recorded
    Busy,      // another program holds a lock on the file
    ReadOnly,  // the file or its folder cannot be written
    DiskFull,  // no room left for the file to grow
    Damaged,   // the file is damaged or is not a database
    Other,
};

// The kind of an SQLite result code (primary or extended).
SqlErrorKind ClassifySqliteError(int code);

// The cause in plain words, e.g. "the disk is full"; for Other, `detail` (the
// database's own message) is quoted so the user has something to report.
String DescribeSqlError(SqlErrorKind kind, const String& detail = String());
