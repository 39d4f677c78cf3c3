// Start-up with 100 playlists of 1,000 tracks: constructing the window (library
// loaded into the grids) next to a bare read of the same rows; then closing it
// (positions saved) next to a bare prepared-update loop.

#include <sqlite3.h>

#include <vector>

#include "app/Player.h"
#include "library_common.h"
#include "ui/Prompt.h"

namespace {

constexpr int kLists = 100;
constexpr int kTracksPerList = 1000;

bool Fill(const std::filesystem::path& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_stmt* list = nullptr;
    sqlite3_stmt* track = bench::PrepareTrackInsert(db);
    sqlite3_prepare_v2(db, "insert into LISTS(NAME, POS) values (?, ?)", -1, &list, nullptr);
    for (int l = 0; l < kLists; ++l) {
        const std::string name = "Playlist " + std::to_string(l);
        sqlite3_bind_text(list, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(list, 2, l);
        sqlite3_step(list);
        sqlite3_reset(list);
        const int id = static_cast<int>(sqlite3_last_insert_rowid(db));
        for (int t = 0; t < kTracksPerList; ++t) {
            const std::string n = std::to_string(l) + "-" + std::to_string(t);
            bench::InsertTrack(track, id, t, "/home/user/Music/Album " + std::to_string(l) + "/Track " + n + ".mp3",
                               "Title of track " + n, "Some Artist", "Some Album", 180000 + t);
        }
    }
    sqlite3_finalize(list);
    sqlite3_finalize(track);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return true;
}

// Reads every list and its tracks, as the load does, into plain rows.
size_t BareRead(const std::filesystem::path& file)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    const size_t rows = bench::BareLoad(db);
    sqlite3_close(db);
    return rows;
}

// Rewrites every position with two prepared updates in one transaction.
double BareSave(const std::filesystem::path& file)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    std::vector<ListOrder> order;
    sqlite3_stmt* read = nullptr;
    sqlite3_prepare_v2(db, "select ID, IDPL from PLAYLISTS order by ID, POS", -1, &read, nullptr);
    while (sqlite3_step(read) == SQLITE_ROW) {
        const int id = sqlite3_column_int(read, 0);
        if (order.empty() || order.back().list.ToInt() != id)
            order.push_back({Value(id), {}});
        order.back().entries.emplace_back(sqlite3_column_int(read, 1));
    }
    sqlite3_finalize(read);
    const double seconds = bench::Seconds([&] { bench::BareSave(db, order); });
    sqlite3_close(db);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    bench::Headless();
    QApplication app(argc, argv);
    TempDir tmp;
    const auto file = tmp.Path() / "library.db3";
    Sqlite3Session session;
    if (!bench::OpenLibrary(session, file) || !Fill(file))
        return 1;
    SetPromptHandler([](const PromptRequest& request) { std::fprintf(stderr, "message: %s", request.text.c_str()); });

    // Each side runs once untimed (file cache and libraries warmed alike), then best of kRuns.
    constexpr int kRuns = 3;
    size_t bareRows = 0;
    BareRead(file);
    const double bare = bench::BestSeconds(kRuns, [&](int) { bareRows = BareRead(file); });

    const double before = bench::ResidentMiB();
    double loaded = 0;
    size_t rows = 0;
    std::unique_ptr<Player> player = std::make_unique<Player>();
    player.reset();
    double start = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        player.reset();  // untimed: one window at a time, as the audio device allows
        start = std::min(start, bench::Seconds([&] { player = std::make_unique<Player>(); }));
        if (run == 0)
            loaded = bench::ResidentMiB();
    }
    for (const auto& grid : player->TrackLists)
        rows += static_cast<size_t>(grid->GetCount());
    // Each close is the one of the window just started. The save the close
    // makes is also timed on its own: the rest of a close frees the rows and
    // closes the engine, which the bare loop has no counterpart for.
    double save = 1e300, close = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        if (!player)
            player = std::make_unique<Player>();
        save = std::min(save, bench::Seconds([&] { player->library.SavePositions(); }));
        close = std::min(close, bench::Seconds([&] { player.reset(); }));
    }
    SQL.Detach();
    session.Close();

    std::printf("best of %d runs each, after one warm-up run each\n", kRuns);
    std::printf("bare read:                     %zu tracks in %.3f s\n", bareRows, bare);
    std::printf("window start-up (load):        %zu tracks in %.3f s\n", rows, start);
    std::printf("ratio start-up / bare read: %.2f (target <= 3.0)\n", start / bare);
    std::printf("peak memory %.1f MiB; growth by the load %.1f MiB, %.2f MiB per 10,000 tracks\n", bench::PeakMiB(),
                loaded - before, (loaded - before) * 10000.0 / double(std::max<size_t>(rows, 1)));
    std::printf("window's position save:         %.3f s\n", save);
    std::printf("window close (the save and the rest): %.3f s\n", close);
    BareSave(file);
    double bareSave = BareSave(file);
    for (int run = 1; run < kRuns; ++run)
        bareSave = std::min(bareSave, BareSave(file));
    std::printf("bare save (prepared updates):   %.3f s\n", bareSave);
    std::printf("ratio position save / bare save: %.2f (target <= 1.5)\n", save / bareSave);
    return 0;
}
