#pragma once

#include <memory>
#include <vector>

#include "data/SqlBuilder.h"
#include "data/SqlSession.h"

// A cursor: runs statements with "?" parameters on one session and hands back
// rows. Each cursor prepares every distinct statement text once and keeps it
// until the cursor is destroyed, so loops only re-bind and re-step.
//
//   Sql cursor(session);
//   cursor.Execute("update lists set pos = ? where id = ?", Value(0), Value(7));
//   if (cursor.Execute(SqlSelect(ID, NAME).From(LISTS)))
//       while (cursor.Fetch()) use(cursor[0], cursor[NAME]);
class Sql {
public:
    // A cursor bound to no session: executing fails until a session is assigned.
    Sql() = default;
    explicit Sql(SqlSession& session);
    // A cursor on the default cursor's session with the statement already set.
    explicit Sql(const String& statement);
    ~Sql();
    Sql(const Sql&) = delete;
    Sql& operator=(const Sql&) = delete;

    // Binds the cursor to `session`, dropping its previous connection; binding
    // also makes the session's dialect the default for literals.
    Sql& operator=(SqlSession& session);
    // Unbinds the cursor, finalizing its statements; do this before its
    // session is destroyed when the cursor outlives it.
    void Detach();

    void SetStatement(const String& text);
    // Sets the statement and compiles it now rather than at its first Execute;
    // false when it does not compile (recorded in the session).
    bool Prepare(const String& text);
    // Value of the i-th "?" (0-based); set them in increasing order from 0.
    void SetParam(int i, const Value& value);

    bool Execute();
    bool Execute(const Value& a, const Value& b);
    bool Execute(const Value& a, const Value& b, const Value& c);
    bool Execute(const String& text);
    bool Execute(const SqlStatement& statement);

    bool Fetch();

    int GetColumnCount() const;
    const std::vector<ColumnInfo>& GetColumnInfo() const;
    // Column i of the current row (-1: the last inserted row id); Null when absent.
    Value operator[](int i) const;
    // The first column of that name; Null when there is none.
    Value operator[](const SqlId& column) const;
    std::vector<Value> GetRow() const;

    // The session the cursor runs on, or null when unbound.
    SqlSession* GetSession() const;

private:
    std::unique_ptr<SqlConnection> connection_;
};

// The application's default cursor, created on first use and destroyed at
// exit; bind it for the lifetime of a scope with SqlBinding.
Sql& DefaultSql();
#define SQL DefaultSql()

// Binds the default cursor SQL to a session for its own lifetime and detaches
// it again when it goes, so the cursor never outlives the session it runs on.
class SqlBinding {
public:
    explicit SqlBinding(SqlSession& session) { SQL = session; }
    ~SqlBinding() { SQL.Detach(); }
    SqlBinding(const SqlBinding&) = delete;
    SqlBinding& operator=(const SqlBinding&) = delete;
};
