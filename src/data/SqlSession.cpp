#include "data/SqlSession.h"

#include <ostream>

#include "data/Log.h"

void SqlConnection::SetParam(int i, const Value& value)
{
    if (i < 0)
        return;
    const size_t index = static_cast<size_t>(i);
    if (index >= params.size())
        params.resize(index + 1, value);
    else
        params[index] = value;
}

void SqlSession::SetError(const String& error, const String& statement)
{
    lastError_ = error;
    errorStatement_ = statement;
    lastErrorCode_ = CurrentErrorCode();
    const String line = "ERROR " + error + ": " + statement + "\n";
    if (logErrors_)
        BugLog() << line;
    if (trace_)
        *trace_ << line << std::flush;
}

void SqlSession::ClearError()
{
    lastError_.clear();
    errorStatement_.clear();
    lastErrorCode_ = 0;
}

void SqlSession::RestoreError(const String& error, const String& statement, int code)
{
    lastError_ = error;
    errorStatement_ = statement;
    lastErrorCode_ = code;
}

SqlErrorKind SqlSession::GetLastErrorKind() const
{
    if (lastError_.empty() && lastErrorCode_ == 0)
        return SqlErrorKind::None;
    // A failure recorded without a database code (no open database) is still a failure.
    const SqlErrorKind kind = ClassifySqliteError(lastErrorCode_);
    return kind == SqlErrorKind::None ? SqlErrorKind::Other : kind;
}
