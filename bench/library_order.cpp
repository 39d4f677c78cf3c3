// Storing the order after a reorder in a playlist of 10,000 tracks, as the
// window does it (read the keys from the grid, find the rows whose position
// changed, write them in one transaction), next to a bare SQLite loop that
// writes the same rows. Two cases: a "Move down" of one row, and a drag of the
// last row to the top, which shifts every row.
#include <algorithm>
#include <ctime>
#include <numeric>

#include <QApplication>

#include "library/LibraryGrids.h"
#include "library/StoredOrder.h"
#include "library_common.h"
#include "ui/GridCtrl.h"

namespace {

constexpr int kTracks = 10000;
constexpr int kRuns = 21;

std::vector<Value> DisplayKeys(GridCtrl& grid)
{
    std::vector<Value> keys;
    keys.reserve(static_cast<size_t>(grid.GetCount()));
    for (int row = 0; row < grid.GetCount(); ++row)
        keys.push_back(grid.Get(row, TRACK_ID));
    return keys;
}

// The bare loop: the same positions written with one prepared statement.
void BareStore(sqlite3* db, int list, const std::vector<Value>& keys, const std::vector<int>& rows)
{
    sqlite3_stmt* update = nullptr;
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db, LibrarySql::SaveTrackPos, -1, &update, nullptr);
    for (int i : rows) {
        sqlite3_bind_int(update, 1, i);
        sqlite3_bind_int(update, 2, keys[static_cast<size_t>(i)].ToInt());
        sqlite3_bind_int(update, 3, list);
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_finalize(update);
}

// The processor time of this process in seconds: the work itself, without
// the wait for the disk to confirm the commit, which both loops pay alike.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Figures {
    std::vector<double> library;
    std::vector<double> libraryCpu;
    std::vector<double> bare;
    size_t rows = 0;

    template <class F>
    void TimeLibrary(F&& run)
    {
        const double cpu = CpuSeconds();
        library.push_back(bench::Seconds(run));
        libraryCpu.push_back(CpuSeconds() - cpu);
    }
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* what, const Figures& f)
{
    const double lib = Median(f.library) * 1000;
    const double bare = Median(f.bare) * 1000;
    std::printf("%s (%zu positions written), median of %d\n  library: %7.2f ms (best %.2f), processor %.2f ms\n"
                "  bare:    %7.2f ms (best %.2f)\n  ratio library/bare: %.2f   one frame: 16.7 ms\n",
                what, f.rows, kRuns, lib, *std::min_element(f.library.begin(), f.library.end()) * 1000,
                Median(f.libraryCpu) * 1000, bare, *std::min_element(f.bare.begin(), f.bare.end()) * 1000,
                lib / bare);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::Headless();
    QApplication app(argc, argv);
    bench::ScratchLibrary library;
    if (!library.Open())
        return 1;
    Sqlite3Session& session = library.session;
    sqlite3* db = library.Handle();

    const Value list = StoreNewList("Big");
    GridCtrl grid;
    ConfigureTrackGrid(grid);
    session.Begin();
    for (int i = 0; i < kTracks; ++i) {
        char title[32];
        std::snprintf(title, sizeof title, "Track %05d", i);
        const String file = "/music/" + String(title) + ".mp3";
        const Value key = StoreTrack(list, i, {file, title, "Artist", "Album", 180000});
        grid.Add({key, file, title, "Artist", "Album", 180000});
    }
    session.Commit();
    StoredOrder stored;
    stored.Loaded(DisplayKeys(grid));

    // Move down: one row changes place with its neighbour, then back.
    Figures move;
    grid.SetCursor(kTracks / 2);
    for (int run = 0; run < kRuns; ++run) {
        move.TimeLibrary([&] {
            run % 2 ? grid.MoveRowUp() : grid.MoveRowDown();
            StoreOrder(session, list, DisplayKeys(grid), stored);
        });
        // The bare loop writes the same two rows back and forth.
        const std::vector<Value> keys = DisplayKeys(grid);
        const std::vector<int> rows{kTracks / 2, kTracks / 2 + 1};
        move.rows = rows.size();
        move.bare.push_back(bench::Seconds([&] { BareStore(db, list.ToInt(), keys, rows); }));
    }

    // Drag the last row to the top: every row's position shifts by one.
    Figures drag;
    drag.rows = kTracks;
    std::vector<int> all(kTracks);
    std::iota(all.begin(), all.end(), 0);
    for (int run = 0; run < kRuns; ++run) {
        grid.SetCursor(kTracks - 1);
        drag.TimeLibrary([&] {
            grid.DropRows(-1);
            StoreOrder(session, list, DisplayKeys(grid), stored);
        });
        const std::vector<Value> keys = DisplayKeys(grid);
        drag.bare.push_back(bench::Seconds([&] { BareStore(db, list.ToInt(), keys, all); }));
    }

    std::printf("playlist of %d tracks\n", kTracks);
    Report("Move down one row", move);
    Report("Drag the last row to the top", drag);
    if (!session.GetLastError().empty())
        std::printf("error: %s\n", session.GetLastError().c_str());
    SQL.Detach();
    session.Close();
    MainLog().Close();
    return 0;
}
