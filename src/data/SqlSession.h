#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "core/Value.h"
#include "data/SqlError.h"

// The dialect code of SQLite sessions; literals are formatted for it.
inline constexpr int SQLITE3 = 4;

// Name and kind of one result column, as recorded when a statement gives a row.
struct ColumnInfo {
    String name;
    ValueKind type = ValueKind::Void;
};

class SqlSession;

// One statement runner on a session, owned by exactly one cursor (`Sql`).
// The cursor fills `statement` and the parameters, then calls Execute.
class SqlConnection {
public:
    // Start time of an execution not being timed.
    static constexpr int64_t kNotTiming = 2147483647;

    explicit SqlConnection(SqlSession& session) : session_(session) {}
    virtual ~SqlConnection() = default;
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    // Stores the value of the i-th "?" (0-based); slots created by growing
    // the list take the same value.
    void SetParam(int i, const Value& value);

    // Runs `statement` with the parameters (which every execution consumes);
    // false on failure, the error then being recorded in the session.
    virtual bool Execute() = 0;
    // Compiles `statement` ahead of its first execution; false on failure,
    // recorded in the session. Runners that compile nothing ahead succeed.
    virtual bool Prepare() { return true; }
    // Moves to the next row of the last execution.
    virtual bool Fetch() = 0;
    // Column i of the current row; -1 gives the last inserted row id.
    virtual Value GetColumn(int i) const = 0;
    // Abandons the current statement.
    virtual void Cancel() = 0;

    SqlSession& GetSession() const { return session_; }

    String statement;
    std::vector<Value> params;
    std::vector<ColumnInfo> info;
    int64_t startTime = kNotTiming;

private:
    SqlSession& session_;
};

// An open database. Errors never throw: each failure stores its message, the
// statement it belongs to and the database's result code, readable with
// GetLastError, GetErrorStatement and GetLastErrorKind.
class SqlSession {
public:
    // Default slow-statement threshold: in practice never reached.
    static constexpr int kNeverSlow = 2147483647 / 4;

    SqlSession() = default;
    virtual ~SqlSession() = default;
    SqlSession(const SqlSession&) = delete;
    SqlSession& operator=(const SqlSession&) = delete;

    virtual std::unique_ptr<SqlConnection> CreateConnection() = 0;
    virtual int GetDialect() const = 0;
    virtual bool IsOpen() const = 0;
    // Row id of the last successful insert on this database.
    virtual int64_t GetInsertedId() const = 0;

    // Run "BEGIN;", "COMMIT;" and "ROLLBACK;"; a failure is recorded and gives false.
    // Prefer SqlTransaction, which cannot leave a transaction open.
    virtual bool Begin() = 0;
    virtual bool Commit() = 0;
    virtual bool Rollback() = 0;

    // Statements and errors are echoed to the trace stream when one is set.
    void SetTrace(std::ostream* trace) { trace_ = trace; }
    std::ostream* GetTrace() const { return trace_; }
    // When on, every recorded error is also written to the bug log.
    void LogErrors(bool on) { logErrors_ = on; }
    bool LogsErrors() const { return logErrors_; }
    // Fetches slower than this many milliseconds are reported to the bug log.
    void SetSlowThreshold(int ms) { slowThreshold_ = ms; }
    int GetSlowThreshold() const { return slowThreshold_; }

    void SetError(const String& error, const String& statement);
    void ClearError();
    // Puts back an error read earlier, without logging it again.
    void RestoreError(const String& error, const String& statement, int code);
    const String& GetLastError() const { return lastError_; }
    const String& GetErrorStatement() const { return errorStatement_; }
    // The database's result code of the last recorded error (0 when none).
    int GetLastErrorCode() const { return lastErrorCode_; }
    SqlErrorKind GetLastErrorKind() const;
    // The last error's cause in plain words.
    String DescribeLastError() const { return DescribeSqlError(GetLastErrorKind(), lastError_); }

protected:
    // The database's result code for the failure being recorded now.
    virtual int CurrentErrorCode() const { return 0; }

private:
    std::ostream* trace_ = nullptr;
    bool logErrors_ = false;
    int slowThreshold_ = kNeverSlow;
    String lastError_;
    String errorStatement_;
    int lastErrorCode_ = 0;
};
