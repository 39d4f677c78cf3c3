// Loading and position saving over a library of 100 lists x 1,000 tracks: the
// library functions next to plain loops on the SQLite C interface.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <vector>

#include "data/Log.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"

namespace {

constexpr int kLists = 100;
constexpr int kTracks = 1000;
constexpr int kRuns = 3;

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Fills the library and gives the display order: lists and entries reversed,
// so saving rewrites every position.
std::vector<ListOrder> Fill(Sqlite3Session& session)
{
    SQL = session;
    std::vector<ListOrder> order;
    session.Begin();
    for (int i = 0; i < kLists; ++i) {
        const Value list = StoreNewList("List " + std::to_string(i));
        ListOrder& saved = order.emplace_back(ListOrder{list, {}});
        for (int j = 0; j < kTracks; ++j) {
            const String file = "/music/artist " + std::to_string(i) + "/track " + std::to_string(j) + ".mp3";
            saved.entries.push_back(StoreTrack(list, j, {file, "Track " + std::to_string(j), "Artist", "Album", 180000}));
        }
        std::reverse(saved.entries.begin(), saved.entries.end());
    }
    session.Commit();
    SQL.Detach();
    std::reverse(order.begin(), order.end());
    return order;
}

size_t RawLoad(sqlite3* db)
{
    size_t cells = 0;
    sqlite3_stmt* lists = nullptr;
    sqlite3_stmt* tracks = nullptr;
    sqlite3_prepare_v2(db, "select ID, NAME from LISTS order by POS", -1, &lists, nullptr);
    sqlite3_prepare_v2(db, "select IDPL, FILENAME, TITLE, ARTIST, ALBUM, LENGTH from PLAYLISTS where ID = ? order by POS",
                       -1, &tracks, nullptr);
    std::vector<std::vector<std::string>> rows;
    while (sqlite3_step(lists) == SQLITE_ROW) {
        sqlite3_bind_int(tracks, 1, sqlite3_column_int(lists, 0));
        while (sqlite3_step(tracks) == SQLITE_ROW) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int c = 0; c < 6; ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(tracks, c));
                row.emplace_back(text ? text : "");
            }
            cells += 6;
        }
        sqlite3_reset(tracks);
    }
    sqlite3_finalize(tracks);
    sqlite3_finalize(lists);
    return cells;
}

void RawSave(sqlite3* db, const std::vector<ListOrder>& order)
{
    sqlite3_stmt* listPos = nullptr;
    sqlite3_stmt* trackPos = nullptr;
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db, LibrarySql::SaveTrackPos, -1, &trackPos, nullptr);
    sqlite3_prepare_v2(db, LibrarySql::SaveListPos, -1, &listPos, nullptr);
    for (size_t i = 0; i < order.size(); ++i) {
        const int list = order[i].list.ToInt();
        sqlite3_bind_int(listPos, 1, static_cast<int>(i));
        sqlite3_bind_int(listPos, 2, list);
        sqlite3_step(listPos);
        sqlite3_reset(listPos);
        for (size_t j = 0; j < order[i].entries.size(); ++j) {
            sqlite3_bind_int(trackPos, 1, static_cast<int>(j));
            sqlite3_bind_int(trackPos, 2, order[i].entries[j].ToInt());
            sqlite3_bind_int(trackPos, 3, list);
            sqlite3_step(trackPos);
            sqlite3_reset(trackPos);
        }
    }
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_finalize(trackPos);
    sqlite3_finalize(listPos);
}

void Report(const char* what, double layer, double raw)
{
    std::printf("%s\n  library: %8.1f ms\n  C API:   %8.1f ms\n  ratio library/raw: %.2f\n", what, layer * 1000,
                raw * 1000, layer / raw);
}

}  // namespace

int main()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
    const std::filesystem::path dir = mkdtemp(pattern.data());
    MainLog().SetFileName((dir / "bench.log").string());
    const std::string file = (dir / "QuillonPlayer.db3").string();

    Sqlite3Session session;
    if (!session.Open(file) || !CreateLibraryTables(session))
        return 1;
    const std::vector<ListOrder> order = Fill(session);
    sqlite3* db = session.GetHandle();

    double load = 1e9, rawLoad = 1e9, save = 1e9, rawSave = 1e9;
    size_t tracks = 0, rawCells = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = std::chrono::steady_clock::now();
        const std::vector<LoadedList> lists = LoadLibrary(session);
        load = std::min(load, Seconds(start));
        tracks = 0;
        for (const LoadedList& list : lists)
            tracks += list.tracks.size();

        start = std::chrono::steady_clock::now();
        rawCells = RawLoad(db);
        rawLoad = std::min(rawLoad, Seconds(start));

        start = std::chrono::steady_clock::now();
        SavePositions(session, order);
        save = std::min(save, Seconds(start));

        start = std::chrono::steady_clock::now();
        RawSave(db, order);
        rawSave = std::min(rawSave, Seconds(start));
    }
    std::printf("%d lists x %d tracks (%zu loaded, %zu raw cells), best of %d runs\n", kLists, kTracks, tracks,
                rawCells, kRuns);
    Report("LoadLists + LoadTracks", load, rawLoad);
    Report("SavePositions", save, rawSave);
    if (!session.GetLastError().empty())
        std::printf("error: %s\n", session.GetLastError().c_str());
    session.Close();
    MainLog().Close();
    std::filesystem::remove_all(dir);
    return 0;
}
