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
    if (open_)
        session_->Rollback();
}

bool SqlTransaction::Commit()
{
    if (!open_ || !session_->Commit())
        return false;
    open_ = false;
    return true;
}
