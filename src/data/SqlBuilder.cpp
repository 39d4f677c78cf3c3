#include "data/SqlBuilder.h"

#include <cinttypes>
#include <cstdio>

#include "core/Utf8.h"
#include "data/SqlSession.h"

namespace {

int defaultDialect = SQLITE3;

const char kAlwaysTrue[] = "0=0";

String Quoted(const String& text)
{
    String out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

String Printed(const char* format, auto... args)
{
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

void SetDefaultDialect(int dialect)
{
    defaultDialect = dialect;
}

int GetDefaultDialect()
{
    return defaultDialect;
}

String SqlFormat(const Value& value, int /*dialect: every session here speaks SQLite*/)
{
    if (value.IsNull())
        return "NULL";
    switch (value.Kind()) {
    case ValueKind::Int: return Printed("%d", value.ToInt());
    // A row id is a 64-bit int; it must format as its digits, not as NULL.
    case ValueKind::Int64: return Printed("%" PRId64, value.ToInt64());
    case ValueKind::Double: return Printed("%.10g", value.ToDouble());
    case ValueKind::String: return Quoted(value.GetString());
    case ValueKind::WString: return Quoted(WideToUtf8(value.GetWString()));
    case ValueKind::Date: {
        const Date d = value.GetDate();
        return Printed("'%04d-%02d-%02d'", d.year, d.month, d.day);
    }
    case ValueKind::Time: {
        const Time t = value.GetTime();
        return Printed("'%04d-%02d-%02d %02d:%02d:%02d'", t.year, t.month, t.day, t.hour, t.minute, t.second);
    }
    case ValueKind::Void: break;
    }
    return "NULL";
}

String SqlFormat(const Value& value)
{
    return SqlFormat(value, defaultDialect);
}

String SqlVal::Operand(int precedence) const
{
    if (precedence_ < precedence)
        return "(" + text_ + ")";
    return text_;
}

SqlVal operator==(const SqlVal& a, const SqlVal& b)
{
    const bool aNull = a.IsNullLiteral();
    const bool bNull = b.IsNullLiteral();
    if (aNull && bNull)
        return SqlBool(true);
    if (bNull)
        return SqlVal::Raw(a.Operand(SqlVal::kCompare) + " is NULL", SqlVal::kCompare);
    if (aNull)
        return SqlVal::Raw(b.Operand(SqlVal::kCompare) + " is NULL", SqlVal::kCompare);
    return SqlVal::Raw(a.Operand(SqlVal::kCompare) + " = " + b.Operand(SqlVal::kCompare), SqlVal::kCompare);
}

SqlVal SqlBool(bool value)
{
    return SqlVal::Raw(value ? kAlwaysTrue : "0!=0", SqlVal::kCompare);
}

String SqlSet::ToString() const
{
    String out;
    for (const SqlVal& item : items_) {
        if (!out.empty())
            out += ", ";
        out += item.ToString();
    }
    return out;
}

void SqlStatement::AppendWhere(const SqlVal& condition)
{
    const String& text = condition.ToString();
    if (!text.empty() && text != kAlwaysTrue)
        text_ += " where " + text;
}

SqlSelect& SqlSelect::From(const SqlId& table)
{
    text_ += " from " + table.ToString();
    return *this;
}

SqlSelect& SqlSelect::Where(const SqlVal& condition)
{
    AppendWhere(condition);
    return *this;
}

SqlInsert& SqlInsert::operator()(const SqlId& column, const SqlVal& value)
{
    if (!columns_.empty()) {
        columns_ += ", ";
        values_ += ", ";
    }
    columns_ += column.ToString();
    values_ += value.ToString();
    Build();
    return *this;
}

void SqlInsert::Build()
{
    text_ = "insert into " + table_ + "(" + columns_ + ")" + " values " + "(" + values_ + ")";
}

SqlUpdate& SqlUpdate::operator()(const SqlId& column, const SqlVal& value)
{
    if (!assignments_.empty())
        assignments_ += ", ";
    assignments_ += column.ToString() + " = " + value.ToString();
    Build();
    return *this;
}

SqlUpdate& SqlUpdate::Where(const SqlVal& condition)
{
    where_ = condition;
    Build();
    return *this;
}

void SqlUpdate::Build()
{
    text_ = head_ + assignments_;
    AppendWhere(where_);
}

SqlDelete& SqlDelete::Where(const SqlVal& condition)
{
    AppendWhere(condition);
    return *this;
}
