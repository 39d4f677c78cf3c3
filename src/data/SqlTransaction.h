#pragma once

class SqlSession;

// One explicit transaction on a session: "BEGIN;" when constructed, "ROLLBACK;"
// when destroyed unless Commit succeeded, so no path out of a scope (an early
// return, an exception) leaves a transaction open or half-applied.
//
//   SqlTransaction transaction(session);
//   if (cursor.Execute(a) && cursor.Execute(b))
//       transaction.Commit();
class SqlTransaction {
public:
    // A null session (no database bound) begins nothing; Commit then gives false.
    explicit SqlTransaction(SqlSession* session);
    explicit SqlTransaction(SqlSession& session) : SqlTransaction(&session) {}
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    // False when the transaction never began or "COMMIT;" failed; it is then
    // rolled back when this object goes, the session keeping the error that
    // ended it.
    bool Commit();
    // True from a successful begin until the commit or rollback.
    bool IsOpen() const { return open_; }

private:
    SqlSession* session_;
    bool open_ = false;
};
