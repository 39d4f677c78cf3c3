#include "data/Sql.h"

#include <chrono>
#include <ostream>

#include "data/Log.h"

namespace {

int64_t TickMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const std::vector<ColumnInfo> kNoColumns;

}  // namespace

Sql::Sql(SqlSession& session) : connection_(session.CreateConnection())
{
}

Sql::Sql(const String& statement)
{
    if (SqlSession* session = DefaultSql().GetSession())
        connection_ = session->CreateConnection();
    SetStatement(statement);
}

Sql::~Sql() = default;

Sql& Sql::operator=(SqlSession& session)
{
    connection_.reset();
    connection_ = session.CreateConnection();
    SetDefaultDialect(session.GetDialect());
    return *this;
}

void Sql::Detach()
{
    connection_.reset();
}

void Sql::SetStatement(const String& text)
{
    if (connection_)
        connection_->statement = text;
}

bool Sql::Prepare(const String& text)
{
    SetStatement(text);
    return connection_ && connection_->Prepare();
}

void Sql::SetParam(int i, const Value& value)
{
    if (connection_)
        connection_->SetParam(i, value);
}

bool Sql::Execute()
{
    if (!connection_)
        return false;
    SqlSession& session = connection_->GetSession();
    if (session.GetSlowThreshold() < SqlConnection::kNotTiming)
        connection_->startTime = TickMs();
    const bool ok = connection_->Execute();
    if (std::ostream* trace = session.GetTrace()) {
        *trace << connection_->statement << '\n';
        if (!ok)
            *trace << "## ERROR: " << session.GetLastError() << '\n';
        trace->flush();
    }
    return ok;
}

bool Sql::Execute(const Value& a, const Value& b)
{
    SetParam(0, a);
    SetParam(1, b);
    return Execute();
}

bool Sql::Execute(const Value& a, const Value& b, const Value& c)
{
    SetParam(0, a);
    SetParam(1, b);
    SetParam(2, c);
    return Execute();
}

bool Sql::Execute(const String& text)
{
    SetStatement(text);
    return Execute();
}

bool Sql::Execute(const SqlStatement& statement)
{
    const String& text = statement.ToString();
    return Execute(text.empty() ? String("null") : text);
}

bool Sql::Fetch()
{
    if (!connection_)
        return false;
    const int64_t before = TickMs();
    const bool ok = connection_->Fetch();
    const int64_t after = TickMs();
    const int threshold = connection_->GetSession().GetSlowThreshold();
    const int64_t start = connection_->startTime;
    if (start != SqlConnection::kNotTiming && after - start > threshold)
        BugLog() << (after - start) << " ms: " << connection_->statement << "\n";
    else if (after - before > threshold)
        BugLog() << (after - before) << " ms further fetch: " << connection_->statement << "\n";
    connection_->startTime = SqlConnection::kNotTiming;
    return ok;
}

int Sql::GetColumnCount() const
{
    return connection_ ? static_cast<int>(connection_->info.size()) : 0;
}

const std::vector<ColumnInfo>& Sql::GetColumnInfo() const
{
    return connection_ ? connection_->info : kNoColumns;
}

Value Sql::operator[](int i) const
{
    return connection_ ? connection_->GetColumn(i) : Value();
}

Value Sql::operator[](const SqlId& column) const
{
    const std::vector<ColumnInfo>& info = GetColumnInfo();
    for (size_t i = 0; i < info.size(); ++i)
        if (info[i].name == column.ToString())
            return (*this)[static_cast<int>(i)];
    return Value();
}

std::vector<Value> Sql::GetRow() const
{
    std::vector<Value> row;
    row.reserve(static_cast<size_t>(GetColumnCount()));
    for (int i = 0; i < GetColumnCount(); ++i)
        row.push_back((*this)[i]);
    return row;
}

SqlSession* Sql::GetSession() const
{
    return connection_ ? &connection_->GetSession() : nullptr;
}

Sql& DefaultSql()
{
    static Sql cursor;
    return cursor;
}
