#include "data/Sqlite3Connection.h"

#include <cinttypes>
#include <climits>
#include <cstdio>
#include <sqlite3.h>

#include "core/Utf8.h"
#include "data/Log.h"

namespace {

// A handle as at least eight zero-padded hexadecimal digits, for the log.
String FormatHandle(const void* handle)
{
    char text[32];
    std::snprintf(text, sizeof text, "%08" PRIxPTR, reinterpret_cast<uintptr_t>(handle));
    return text;
}

String DateText(int year, int month, int day)
{
    char text[32];
    std::snprintf(text, sizeof text, "'%04d-%02d-%02d'", year, month, day);
    return text;
}

String TimeText(const Time& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "'%04d-%02d-%02d %02d:%02d:%02d'", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

// An integer column reads as int when it fits (and is not the int null), as a
// 64-bit int otherwise, so large values are never truncated.
Value IntegerValue(int64_t v)
{
    if (v > INT_MIN && v <= INT_MAX)
        return static_cast<int>(v);
    return v;
}

}  // namespace

Sqlite3Connection::~Sqlite3Connection()
{
    Cancel();
    FlushStatements();
}

bool Sqlite3Connection::Prepare()
{
    return Compile(statement) != nullptr;
}

String Sqlite3Connection::ErrorMessage() const
{
    return db_ ? sqlite3_errmsg(db_) : "database is not open";
}

const Sqlite3Connection::Cached* Sqlite3Connection::Compile(const String& text)
{
    if (auto found = index_.find(text); found != index_.end())
        return &cache_[found->second];
    if (cachedLength_ + text.size() >= kCacheLimit)
        FlushStatements();
    sqlite3_stmt* statement = nullptr;
    int rc = SQLITE_MISUSE;
    if (db_)
        rc = sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &statement, nullptr);
    if (rc != SQLITE_OK || !statement) {
        // A text holding no statement prepares "successfully" to nothing.
        const String error = rc == SQLITE_OK ? String("not an SQL statement") : ErrorMessage();
        MainLog() << "Sqlite3Connection::Compile(" << text << ") -> error\n";
        GetSession().SetError(error, "Preparing: " + text);
        return nullptr;
    }
    index_.emplace(text, cache_.size());
    // SQLite's own count covers every form of parameter ("?NNN", ":name", ...)
    // and ignores whatever literals, identifiers and comments hold.
    cache_.push_back({text, statement, sqlite3_bind_parameter_count(statement)});
    MainLog() << "Sqlite3Connection::Compile(" << text << ") = " << FormatHandle(statement) << "\n";
    cachedLength_ += text.size();
    return &cache_.back();
}

void Sqlite3Connection::FlushStatements()
{
    if (current_)
        Cancel();
    if (cache_.empty())
        return;
    MainLog() << "Sqlite3Connection::FlushStatements(" << static_cast<int64_t>(cache_.size()) << " total)\n";
    for (const Cached& entry : cache_) {
        MainLog() << "Sqlite3Connection::FlushStatements(" << FormatHandle(entry.statement) << ") - " << entry.text
                  << "\n";
        if (sqlite3_finalize(entry.statement) != SQLITE_OK)
            GetSession().SetError(ErrorMessage(), "Finalizing statement: " + entry.text);
    }
    index_.clear();
    cache_.clear();
    cachedLength_ = 0;
}

void Sqlite3Connection::Cancel()
{
    if (!current_)
        return;
    if (sqlite3_reset(current_) != SQLITE_OK)
        GetSession().SetError(ErrorMessage(), "Resetting statement: " + currentText_);
    current_ = nullptr;
}

void Sqlite3Connection::Bind(sqlite3_stmt* statement, int position, const Value& value)
{
    int rc = SQLITE_OK;
    if (value.IsNull()) {
        rc = sqlite3_bind_null(statement, position);
    } else {
        switch (value.Kind()) {
        case ValueKind::Int: rc = sqlite3_bind_int(statement, position, value.ToInt()); break;
        case ValueKind::Int64: rc = sqlite3_bind_int64(statement, position, value.ToInt64()); break;
        case ValueKind::Double: rc = sqlite3_bind_double(statement, position, value.ToDouble()); break;
        case ValueKind::String: {
            const String& text = value.GetString();
            rc = sqlite3_bind_text64(statement, position, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        case ValueKind::WString:
        case ValueKind::Date:
        case ValueKind::Time: {
            // Dates and times are stored as their quoted literal text.
            const String text = value.Kind() == ValueKind::WString ? WideToUtf8(value.GetWString())
                                : value.Kind() == ValueKind::Date
                                    ? DateText(value.GetDate().year, value.GetDate().month, value.GetDate().day)
                                    : TimeText(value.GetTime());
            rc = sqlite3_bind_text64(statement, position, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        case ValueKind::Void: break;
        }
    }
    if (rc != SQLITE_OK)
        GetSession().SetError(ErrorMessage(), "Binding parameter " + std::to_string(position) + ": " + currentText_);
}

void Sqlite3Connection::RecordColumns()
{
    const int count = sqlite3_column_count(current_);
    info.assign(static_cast<size_t>(count), {});
    for (int i = 0; i < count; ++i) {
        ColumnInfo& column = info[static_cast<size_t>(i)];
        const char* name = sqlite3_column_name(current_, i);
        column.name = name ? name : "";
        switch (sqlite3_column_type(current_, i)) {
        case SQLITE_INTEGER: column.type = ValueKind::Int; break;
        case SQLITE_FLOAT: column.type = ValueKind::Double; break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: column.type = ValueKind::String; break;
        default: column.type = ValueKind::Void; break;
        }
    }
}

bool Sqlite3Connection::Execute()
{
    Cancel();
    currentText_ = statement;
    const Cached* compiled = Compile(currentText_);
    if (!compiled) {
        params.clear();
        return false;
    }
    current_ = compiled->statement;
    static const Value missing;
    for (int k = 1; k <= compiled->parameterCount; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        Bind(current_, k, i < params.size() ? params[i] : missing);
    }
    params.clear();
    const int rc = sqlite3_step(current_);
    if (rc == SQLITE_DONE) {
        gotFirstRow_ = gotRowData_ = false;
        return true;
    }
    if (rc == SQLITE_ROW) {
        gotFirstRow_ = gotRowData_ = true;
        RecordColumns();
        return true;
    }
    gotFirstRow_ = gotRowData_ = false;
    GetSession().SetError(ErrorMessage(), currentText_);
    // Reset now: a later reset would only repeat this error under another name.
    sqlite3_reset(current_);
    current_ = nullptr;
    return false;
}

bool Sqlite3Connection::Fetch()
{
    if (!gotRowData_ || !current_)
        return false;
    if (gotFirstRow_) {
        gotFirstRow_ = false;
        return true;
    }
    const int rc = sqlite3_step(current_);
    if (rc == SQLITE_ROW)
        return true;
    gotRowData_ = false;
    if (rc == SQLITE_DONE)
        return false;
    GetSession().SetError(ErrorMessage(), "Fetching prepared statement: " + currentText_);
    sqlite3_reset(current_);
    current_ = nullptr;
    return false;
}

Value Sqlite3Connection::GetColumn(int i) const
{
    if (i == -1)
        return db_ ? Value(static_cast<int64_t>(sqlite3_last_insert_rowid(db_))) : Value();
    if (!current_ || !gotRowData_ || i < 0 || i >= sqlite3_column_count(current_))
        return Value();
    switch (sqlite3_column_type(current_, i)) {
    case SQLITE_INTEGER: return IntegerValue(sqlite3_column_int64(current_, i));
    case SQLITE_FLOAT: return sqlite3_column_double(current_, i);
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(current_, i));
        const int size = sqlite3_column_bytes(current_, i);
        return text ? String(text, static_cast<size_t>(size)) : String();
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(current_, i));
        const int size = sqlite3_column_bytes(current_, i);
        return data ? String(data, static_cast<size_t>(size)) : String();
    }
    default: return Value();
    }
}
