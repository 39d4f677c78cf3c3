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
}
