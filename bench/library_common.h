#pragma once

// Shared set-up of the library benchmarks: a headless application, a library
// database in a temporary folder bound to the default cursor, and timing.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <sys/resource.h>
#include <unistd.h>

#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"

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

struct TempFolder {
    std::filesystem::path path;
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

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

} // namespace bench
