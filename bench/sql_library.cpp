// Loading and position saving over a library of 100 lists x 1,000 tracks: the
// library functions next to plain loops on the SQLite C interface.
#include <algorithm>

#include "data/Log.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library_common.h"

namespace {

constexpr int kLists = 100;
constexpr int kTracks = 1000;
constexpr int kRuns = 3;

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

void Report(const char* what, double layer, double raw)
{
    std::printf("%s\n  library: %8.1f ms\n  C API:   %8.1f ms\n  ratio library/raw: %.2f\n", what, layer * 1000,
                raw * 1000, layer / raw);
}

}  // namespace

int main()
{
    TempDir tmp;
    MainLog().SetFileName((tmp.Path() / "bench.log").string());
    const std::string file = (tmp.Path() / "QuillonPlayer.db3").string();

    Sqlite3Session session;
    if (!session.Open(file) || !CreateLibraryTables(session))
        return 1;
    const std::vector<ListOrder> order = Fill(session);
    sqlite3* db = session.GetHandle();

    double load = 1e9, rawLoad = 1e9, save = 1e9, rawSave = 1e9;
    size_t tracks = 0, rawRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<LoadedList> lists;
        load = std::min(load, bench::Seconds([&] { lists = LoadLibrary(session); }));
        tracks = 0;
        for (const LoadedList& list : lists)
            tracks += list.tracks.size();
        rawLoad = std::min(rawLoad, bench::Seconds([&] { rawRows = bench::BareLoad(db); }));
        save = std::min(save, bench::Seconds([&] { SavePositions(session, order); }));
        rawSave = std::min(rawSave, bench::Seconds([&] { bench::BareSave(db, order); }));
    }
    std::printf("%d lists x %d tracks (%zu loaded, %zu raw), best of %d runs\n", kLists, kTracks, tracks,
                rawRows, kRuns);
    Report("LoadLists + LoadTracks", load, rawLoad);
    Report("SavePositions", save, rawSave);
    if (!session.GetLastError().empty())
        std::printf("error: %s\n", session.GetLastError().c_str());
    session.Close();
    MainLog().Close();
    return 0;
}
