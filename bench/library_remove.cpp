// Removing a whole playlist's tracks as the user does it: Select all, then
// Delete in a track grid of 100,000 tracks, through the window's own grids
// and handlers, so the time includes the removal callback of every row and
// the database deletes. Next to it, a bare SQLite loop that deletes the same
// rows by key in one transaction. Best of a few runs; each run loads the
// playlist afresh into a new window.
// Usage: bench_library_remove [tracks]   (default 100000)
#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <QApplication>

#include "app/Player.h"
#include "library/LibraryGrids.h"
#include "load_average.h"
#include "library_common.h"
#include "ui/Prompt.h"

namespace {

constexpr int kRuns = 3;

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

int CountTracks(sqlite3* db)
{
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from PLAYLISTS", -1, &count, nullptr);
    const int n = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : -1;
    sqlite3_finalize(count);
    return n;
}

// One playlist of n tracks, stored with the bare insert; its LISTS.ID.
int FillList(sqlite3* db, int n)
{
    sqlite3_exec(db, "BEGIN; delete from PLAYLISTS; delete from LISTS; insert into LISTS(NAME, POS) values ('Big', 0);",
                 nullptr, nullptr, nullptr);
    const int list = static_cast<int>(sqlite3_last_insert_rowid(db));
    sqlite3_stmt* insert = bench::PrepareTrackInsert(db);
    for (int i = 0; i < n; ++i) {
        char title[32];
        std::snprintf(title, sizeof title, "Track %06d", i);
        bench::InsertTrack(insert, list, i, "/music/" + std::string(title) + ".mp3", title, "Artist", "Album", 180000);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    return list;
}

std::vector<int> TrackKeys(sqlite3* db)
{
    std::vector<int> keys;
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "select IDPL from PLAYLISTS", -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW)
        keys.push_back(sqlite3_column_int(select, 0));
    sqlite3_finalize(select);
    return keys;
}

void BareDelete(sqlite3* db, const std::vector<int>& keys)
{
    sqlite3_stmt* remove = nullptr;
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db, "delete from PLAYLISTS where IDPL = ?", -1, &remove, nullptr);
    for (int key : keys) {
        sqlite3_bind_int(remove, 1, key);
        sqlite3_step(remove);
        sqlite3_reset(remove);
    }
    sqlite3_finalize(remove);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::Headless();
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    QApplication app(argc, argv);
    SetPromptHandler([](const PromptRequest& request) { std::fprintf(stderr, "message: %s", request.text.c_str()); });
    bench::ScratchLibrary library;
    if (!library.Open())
        return 1;
    Sqlite3Session& session = library.session;
    sqlite3* db = library.Handle();
    std::printf("select all + delete in a playlist of %d tracks, best of %d; load average %.2f\n", n, kRuns,
                LoadAverage());

    double best = 1e300, bestCpu = 1e300, bestBare = 1e300;
    bool allRemoved = true;
    for (int run = 0; run < kRuns; ++run) {
        FillList(db, n);
        {
            Player player;
            GridCtrl& tracks = player.CurrentTrackList();
            if (tracks.GetCount() != n) {
                std::fprintf(stderr, "the window loaded %d of %d tracks\n", tracks.GetCount(), n);
                return 1;
            }
            int callbacks = 0;
            const auto handler = tracks.WhenRemoveRow;
            tracks.WhenRemoveRow = [&] {
                ++callbacks;
                handler();
            };
            tracks.SelectAll();
            const double cpu = CpuSeconds();
            best = std::min(best, bench::Seconds([&] { tracks.DoRemove(); }));
            bestCpu = std::min(bestCpu, CpuSeconds() - cpu);
            const int left = CountTracks(db);
            if (callbacks != n || tracks.GetCount() != 0 || left != 0) {
                allRemoved = false;
                std::printf("run %d: %d callbacks, %d rows left in the grid, %d in the database\n", run, callbacks,
                            tracks.GetCount(), left);
            }
        }
        FillList(db, n);
        const std::vector<int> keys = TrackKeys(db);
        bestBare = std::min(bestBare, bench::Seconds([&] { BareDelete(db, keys); }));
    }
    std::printf("window (grid, a callback per row, database): %8.1f ms (processor %.1f ms)%s (target < 1000 ms)\n",
                best * 1000, bestCpu * 1000, allRemoved ? "" : " INCOMPLETE");
    std::printf("bare prepared delete per key, one transaction: %6.1f ms\n", bestBare * 1000);
    std::printf("load average at the end %.2f\n", LoadAverage());
    SQL.Detach();
    session.Close();
    MainLog().Close();
    return 0;
}
