#include "data/SqlError.h"

#include <sqlite3.h>

SqlErrorKind ClassifySqliteError(int code)
{
    switch (code & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return SqlErrorKind::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return SqlErrorKind::Busy;
    // A folder that cannot be written shows as a journal that cannot be opened.
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return SqlErrorKind::ReadOnly;
    case SQLITE_FULL: return SqlErrorKind::DiskFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return SqlErrorKind::Damaged;
    default: return SqlErrorKind::Other;
    }
}

String DescribeSqlError(SqlErrorKind kind, const String& detail)
{
    switch (kind) {
    case SqlErrorKind::None: return "no error";
    case SqlErrorKind::Busy: return "the library is locked by another program";
    case SqlErrorKind::ReadOnly: return "the library file is read-only";
    case SqlErrorKind::DiskFull: return "the disk is full";
    case SqlErrorKind::Damaged: return "the library file is damaged";
    case SqlErrorKind::Other: break;
    }
    return detail.empty() ? String("the library database reported an error")
                          : "the library database reported an error (" + detail + ")";
}
