// The statement text scan must give the parameter count SQLite itself gives
// the prepared statement, for every text SQLite accepts.
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <string>

#include "data/SqlParameters.h"

namespace {

sqlite3* Database()
{
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK)
            std::abort();
        // The library's tables and a small one, so that realistic statements prepare.
        const char* schema = "create table LISTS (ID integer primary key, NAME text, POS integer);"
                             "create table PLAYLISTS (IDPL integer primary key, ID integer, FILENAME text,"
                             " LENGTH integer, TITLE text, ARTIST text, ALBUM text, YEAR text, GENRE text,"
                             " TRACK text, POS integer);"
                             "create table T (A, B, C);";
        if (sqlite3_exec(opened, schema, nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        return opened;
    }();
    return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    // Only preparing: nothing a fuzzed text says is ever run.
    if (sqlite3_prepare_v2(Database(), text.c_str(), static_cast<int>(text.size()), &statement, &tail) != SQLITE_OK)
        return 0;
    // SQLite reads the first statement only; the scan reads what SQLite read.
    const std::string_view first(text.c_str(), static_cast<size_t>(tail - text.c_str()));
    const int expected = statement ? sqlite3_bind_parameter_count(statement) : 0;
    sqlite3_finalize(statement);
    const int counted = CountSqlParameters(first);
    if (counted != expected) {
        std::fprintf(stderr, "SQLite counts %d parameters, the scan %d, in: %s\n", expected, counted,
                     std::string(first).c_str());
        std::abort();
    }
    return 0;
}
