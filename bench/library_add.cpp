// Adding a folder of 2,000 tagged MP3 files (100 folders of 20) through the
// window's real "Add folder" path, next to a bare loop that reads the same tags
// and lengths and inserts the rows with the database's C interface.

#include <sqlite3.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include "../tests/library/MusicFixtures.h"
#include "app/Player.h"
#include "library_common.h"
#include "library/ScanFolder.h"
#include "ui/FileSelector.h"
#include "ui/Prompt.h"

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 20;

void MakeMusic(const std::filesystem::path& root)
{
    for (int f = 0; f < kFolders; ++f)
        for (int t = 0; t < kFilesPerFolder; ++t) {
            const std::string n = std::to_string(f) + "-" + std::to_string(t);
            music_fixtures::MakeMp3(root / ("album " + std::to_string(f)) / ("track " + n + ".mp3"), "Title " + n,
                                    "Artist " + std::to_string(f), "Album " + std::to_string(f));
        }
}

// The same work without the window: scan, read tags and length, insert in one transaction.
int BareLoop(const std::filesystem::path& root, const std::filesystem::path& dbFile)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(dbFile.c_str(), &db) != SQLITE_OK)
        return -1;
    sqlite3_exec(db,
                 "create table if not exists PLAYLISTS (IDPL integer primary key, ID integer, POS integer, "
                 "FILENAME text, TITLE text, ARTIST text, ALBUM text, LENGTH integer)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into PLAYLISTS(ID, POS, FILENAME, TITLE, ARTIST, ALBUM, LENGTH) "
                       "values (1, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    int pos = 0;
    ScanFolder(root.string(), [&](const String& path) {
        TagLib::FileRef ref(path.c_str());
        if (ref.isNull())
            return;
        const std::string title = ref.tag()->title().to8Bit(true);
        const std::string artist = ref.tag()->artist().to8Bit(true);
        const std::string album = ref.tag()->album().to8Bit(true);
        const int length = ref.audioProperties() ? ref.audioProperties()->lengthInMilliseconds() : 0;
        sqlite3_bind_int(insert, 1, pos++);
        sqlite3_bind_text(insert, 2, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, artist.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, album.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 6, length);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    });
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return pos;
}

} // namespace

int main(int argc, char** argv)
{
    bench::Headless();
    QApplication app(argc, argv);
    TempDir tmp;
    const auto music = tmp.Path() / "music";
    std::printf("making %d tagged MP3 files...\n", kFolders * kFilesPerFolder);
    MakeMusic(music);

    // Each side runs once untimed (the file cache and the libraries warmed alike), then best of kRuns.
    constexpr int kRuns = 3;
    int bareRows = 0;
    BareLoop(music, tmp.Path() / "warm.db3");
    const double bare = bench::BestSeconds(kRuns, [&](int i) {
        bareRows = BareLoop(music, tmp.Path() / ("bare" + std::to_string(i) + ".db3"));
    });

    int prompts = 0;
    SetPromptHandler([&](const PromptRequest&) { ++prompts; });
    SetFileSelectHandler([&](FileSelectRequest&) -> FileSelectAnswer { return std::vector<String>{music.string()}; });
    double sqlOnly = 0, engineOnly = 0;
    int rows = 0;
    // One window on a fresh library per run; -1 is the untimed warm-up.
    auto windowRun = [&](int run, double* seconds) {
        Sqlite3Session session;
        if (!bench::OpenLibrary(session, tmp.Path() / ("library" + std::to_string(run + 1) + ".db3")))
            return false;
        {
            Player player;
            player.resize(900, 600);
            player.show();
            QApplication::processEvents();
            *seconds = bench::Seconds([&] { player.AddFolder(true); });
            rows = player.CurrentTrackList().GetCount();
            QApplication::processEvents();
            if (run == 0) {
                // The audio engine's share: open, read the three tags and the length, release.
                engineOnly = bench::Seconds([&] {
                    ScanFolder(music.string(), [&](const String& path) {
                        AudioEngine& engine = player.Engine();
                        const auto sound = engine.OpenStream(path);
                        engine.GetTag(sound, "TITLE");
                        engine.GetTag(sound, "ARTIST");
                        engine.GetTag(sound, "ALBUM");
                        engine.GetLengthMs(sound);
                        engine.ReleaseStream(sound);
                    });
                });
                // For comparison: the same number of inserts built as one-off statement texts.
                sqlOnly = bench::Seconds([&] {
                    session.Begin();
                    for (int i = 0; i < kFolders * kFilesPerFolder; ++i)
                        StoreTrack(Value(1), i, TrackFields{"/music/album/track " + std::to_string(i) + ".mp3",
                                                            "Title", "Artist", "Album", 1000});
                    session.Commit();
                });
            }
        }
        SQL.Detach();
        return true;
    };
    double window = 1e300;
    for (int run = -1; run < kRuns; ++run) {
        double seconds = 0;
        if (!windowRun(run, &seconds))
            return 1;
        if (run >= 0)
            window = std::min(window, seconds);
    }

    std::printf("best of %d runs each, after one warm-up run each\n", kRuns);
    std::printf("bare loop (tags + C interface): %d files in %.3f s, %.1f us/file\n", bareRows, bare,
                bare * 1e6 / std::max(bareRows, 1));
    std::printf("AddFolder in the window:        %d files in %.3f s, %.1f us/file (%d messages)\n", rows, window,
                window * 1e6 / std::max(rows, 1), prompts);
    std::printf("of which the audio engine alone: %.3f s, %.1f us/file\n", engineOnly, engineOnly * 1e6 / std::max(rows, 1));
    std::printf("(built one-off inserts, for comparison):%.3f s, %.1f us/file\n", sqlOnly, sqlOnly * 1e6 / std::max(rows, 1));
    std::printf("window minus engine: %.1f us/file\n", (window - engineOnly) * 1e6 / std::max(rows, 1));
    std::printf("ratio window / bare: %.2f (target <= 2.0)\n", window / bare);
    return 0;
}
