#include "data/Sqlite3Session.h"

#include <ostream>
#include <sqlite3.h>

#include "data/Sqlite3Connection.h"

Sqlite3Session::~Sqlite3Session()
{
    Close();
}

bool Sqlite3Session::Open(const String& fileName)
{
    Close();
    fileName_ = fileName;
    currentDatabase_ = "main";
    sqlite3* db = nullptr;
    if (sqlite3_open(fileName.c_str(), &db) != SQLITE_OK) {
        // SQLite hands back a handle even when opening fails; it must be released.
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    // Another reader or a short write elsewhere is waited out instead of failing at once.
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    return true;
}

void Sqlite3Session::Close()
{
    if (!db_)
        return;
    // Cursors may outlive the session (the default cursor lives until exit):
    // the database is then closed once their statements are finalized.
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

std::unique_ptr<SqlConnection> Sqlite3Session::CreateConnection()
{
    return std::make_unique<Sqlite3Connection>(*this, db_);
}

int64_t Sqlite3Session::GetInsertedId() const
{
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

bool Sqlite3Session::Begin()
{
    return RunControlStatement("BEGIN;");
}

bool Sqlite3Session::Commit()
{
    return RunControlStatement("COMMIT;");
}

bool Sqlite3Session::Rollback()
{
    return RunControlStatement("ROLLBACK;");
}

void Sqlite3Session::SetBusyTimeout(int ms)
{
    busyTimeoutMs_ = ms;
    if (db_)
        sqlite3_busy_timeout(db_, ms);
}

bool Sqlite3Session::HoldsLock() const
{
    // The connection's own mutex guards this call, whichever thread asks.
    return db_ && sqlite3_txn_state(db_, nullptr) != SQLITE_TXN_NONE;
}

int Sqlite3Session::CurrentErrorCode() const
{
    return db_ ? sqlite3_extended_errcode(db_) : SQLITE_MISUSE;
}

bool Sqlite3Session::RunControlStatement(const char* text)
{
    if (std::ostream* trace = GetTrace())
        *trace << text << '\n' << std::flush;
    if (!db_) {
        SetError("database is not open", text);
        return false;
    }
    if (sqlite3_exec(db_, text, nullptr, nullptr, nullptr) != SQLITE_OK) {
        SetError(sqlite3_errmsg(db_), text);
        return false;
    }
    return true;
}
