#pragma once

#include "data/SqlSession.h"

struct sqlite3;

// A session on one SQLite database file.
class Sqlite3Session : public SqlSession {
public:
    Sqlite3Session() = default;
    ~Sqlite3Session() override;

    // How long a statement waits for another program's lock before it fails.
    static constexpr int kDefaultBusyTimeoutMs = 3000;

    // Opens the file, creating it when missing. True when it is open; a failure
    // is neither logged nor recorded and leaves the session closed.
    bool Open(const String& fileName);
    void Close();

    std::unique_ptr<SqlConnection> CreateConnection() override;
    int GetDialect() const override { return SQLITE3; }
    bool IsOpen() const override { return db_ != nullptr; }
    int64_t GetInsertedId() const override;

    bool Begin() override;
    bool Commit() override;
    bool Rollback() override;

    // Applies now and to every later Open; tests shorten it.
    void SetBusyTimeout(int ms);
    int GetBusyTimeout() const { return busyTimeoutMs_; }

    // True while this connection holds a lock on the file: a transaction is
    // open or a statement is part way through its rows. Safe to ask from any
    // thread while the session stays open.
    bool HoldsLock() const;

    const String& GetFileName() const { return fileName_; }
    const String& GetCurrentDatabase() const { return currentDatabase_; }
    sqlite3* GetHandle() const { return db_; }

protected:
    int CurrentErrorCode() const override;

private:
    bool RunControlStatement(const char* text);

    sqlite3* db_ = nullptr;
    String fileName_;
    String currentDatabase_;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
};
