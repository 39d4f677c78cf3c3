#include "data/SqlTransaction.h"

#include "data/SqlSession.h"

SqlTransaction::SqlTransaction(SqlSession* session) : session_(session)
{
    // A failed begin (for instance inside a transaction already open) must not
    // end someone else's transaction on the way out.
    open_ = session_ && session_->Begin();
}

SqlTransaction::~SqlTransaction()
{
    if (!open_)
        return;
    // The failure that ended the transaction is the one to report, not a
    // rollback refused because SQLite already rolled back by itself (as it
    // does after a full disk).
    const String error = session_->GetLastError();
    const String statement = session_->GetErrorStatement();
    const int code = session_->GetLastErrorCode();
    if (!session_->Rollback())
        session_->RestoreError(error, statement, code);
}

bool SqlTransaction::Commit()
{
    if (!open_ || !session_->Commit())
        return false;
    open_ = false;
    return true;
}
