// One cached statement executed 100,000 times inside one transaction: through
// the cursor layer, and written directly on the SQLite C interface.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <string>

#include "data/Log.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;
const char kInsert[] = "insert into T (A, B, C) values (?, ?, ?)";
const char kTable[] = "create table T (A integer, B text, C integer)";

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double RunLayer(const std::string& file)
{
    Sqlite3Session session;
    if (!session.Open(file))
        std::exit(1);
    Sql sql(session);
    sql.Execute(std::string(kTable));
    const String text = "track name";
    const auto start = std::chrono::steady_clock::now();
    session.Begin();
    sql.SetStatement(kInsert);
    for (int i = 0; i < kRows; ++i)
        sql.Execute(i, text, i * 2);
    session.Commit();
    const double seconds = Seconds(start);
    if (!session.GetLastError().empty())
        std::printf("layer error: %s\n", session.GetLastError().c_str());
    return seconds;
}

double RunRaw(const std::string& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        std::exit(1);
    sqlite3_exec(db, kTable, nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, kInsert, -1, &statement, nullptr);
    const std::string text = "track name";
    const auto start = std::chrono::steady_clock::now();
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    for (int i = 0; i < kRows; ++i) {
        sqlite3_bind_int(statement, 1, i);
        sqlite3_bind_text(statement, 2, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 3, i * 2);
        if (sqlite3_step(statement) != SQLITE_DONE)
            std::printf("raw error: %s\n", sqlite3_errmsg(db));
        sqlite3_reset(statement);
    }
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    const double seconds = Seconds(start);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return seconds;
}

}  // namespace

int main()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
    const std::filesystem::path dir = mkdtemp(pattern.data());
    MainLog().SetFileName((dir / "bench.log").string());

    double layer = 1e9, raw = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        const std::string name = "run" + std::to_string(run);
        layer = std::min(layer, RunLayer((dir / (name + "-layer.db3")).string()));
        raw = std::min(raw, RunRaw((dir / (name + "-raw.db3")).string()));
    }
    std::printf("%d inserts in one transaction, best of %d runs\n", kRows, kRuns);
    std::printf("  Sql cursor:   %8.1f ms\n", layer * 1000);
    std::printf("  SQLite C API: %8.1f ms\n", raw * 1000);
    std::printf("  ratio layer/raw: %.2f (target 1.30 or less)\n", layer / raw);
    MainLog().Close();
    std::filesystem::remove_all(dir);
    return 0;
}
