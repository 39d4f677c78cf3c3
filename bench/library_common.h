#pragma once

// Shared set-up of the library benchmarks: a headless application, a library
// database bound to the default cursor, timing, and the bare loops on the
// SQLite C interface that the library's own loading and position saving are
// measured against.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include "data/Log.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "../tests/support/TempDir.h"

namespace bench {

inline void Headless()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
}

template <class F>
double Seconds(F&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The shortest of `runs` timings of run(): other work on a shared machine only ever adds time.
template <class F>
double BestSeconds(int runs, F&& run)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, Seconds([&] { run(i); }));
    return best;
}

// Resident memory now, and the process's peak, in MiB.
inline double ResidentMiB()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
inline double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Opens (creating) a library database and makes it the default cursor's session.
inline bool OpenLibrary(Sqlite3Session& session, const std::filesystem::path& file)
{
    if (!session.Open(file.string()) || !CreateLibraryTables(session)) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return false;
    }
    SQL = session;
    return true;
}

// A library database in a folder of its own, the log beside it, bound to the
// default cursor once opened.
struct ScratchLibrary {
    TempDir dir;
    Sqlite3Session session;

    bool Open()
    {
        MainLog().SetFileName((dir.Path() / "bench.log").string());
        return OpenLibrary(session, dir.Path() / "QuillonPlayer.db3");
    }
    sqlite3* Handle() { return session.GetHandle(); }
};

// The bare insert of one track row: prepared once, then run per row with InsertTrack.
inline sqlite3_stmt* PrepareTrackInsert(sqlite3* db)
{
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into PLAYLISTS(ID, POS, FILENAME, TITLE, ARTIST, ALBUM, LENGTH) "
                       "values (?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    return insert;
}
inline void InsertTrack(sqlite3_stmt* insert, int list, int pos, const std::string& path, const std::string& title,
                        const std::string& artist, const std::string& album, int lengthMs)
{
    sqlite3_bind_int(insert, 1, list);
    sqlite3_bind_int(insert, 2, pos);
    sqlite3_bind_text(insert, 3, path.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 4, title.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 5, artist.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 6, album.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 7, lengthMs);
    sqlite3_step(insert);
    sqlite3_reset(insert);
}

// Reads every list and its tracks in display order into plain rows, as the
// library load does; the number of track rows read.
inline size_t BareLoad(sqlite3* db)
{
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
        }
        sqlite3_reset(tracks);
    }
    sqlite3_finalize(tracks);
    sqlite3_finalize(lists);
    return rows.size();
}

// Rewrites every list's and track's position with the two prepared position
// statements in one transaction.
inline void BareSave(sqlite3* db, const std::vector<ListOrder>& order)
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

} // namespace bench
