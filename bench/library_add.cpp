// Adding a folder of 2,000 tagged MP3 files (100 folders of 20) through the
// window's real "Add folder" path, background readers and all, next to a bare
// single-threaded loop that reads the same tags and lengths and inserts the rows
// with the database's C interface; best of 5 each. Then how long the event loop
// is kept waiting while 20,000 files are added, and the first two figures again
// after dropping the page cache, when the system allows it.

#include <sqlite3.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <thread>

#include <QElapsedTimer>
#include <QTimer>

#include "../tests/library/MusicFixtures.h"
#include "app/Player.h"
#include "library_common.h"
#include "library/ScanFolder.h"
#include "ui/FileSelector.h"
#include "ui/Prompt.h"

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 20;
constexpr int kManyFiles = 20000;
constexpr int kRuns = 5;

void MakeMusic(const std::filesystem::path& root)
{
    for (int f = 0; f < kFolders; ++f)
        for (int t = 0; t < kFilesPerFolder; ++t) {
            const std::string n = std::to_string(f) + "-" + std::to_string(t);
            music_fixtures::MakeMp3(root / ("album " + std::to_string(f)) / ("track " + n + ".mp3"), "Title " + n,
                                    "Artist " + std::to_string(f), "Album " + std::to_string(f));
        }
}

// Untagged copies: only their number matters.
void MakeManyCopies(const std::filesystem::path& root)
{
    for (int i = 0; i < kManyFiles; ++i) {
        const auto folder = root / ("cd " + std::to_string(i / 200));
        if (i % 200 == 0)
            std::filesystem::create_directories(folder);
        std::filesystem::copy_file(music_fixtures::ToneMp3(), folder / ("t" + std::to_string(i) + ".mp3"));
    }
}

// The same work without the window on one thread: scan, read tags and length, insert in one transaction.
int BareLoop(const std::filesystem::path& root, const std::filesystem::path& dbFile)
{
    std::filesystem::remove(dbFile);
    sqlite3* db = nullptr;
    if (sqlite3_open(dbFile.c_str(), &db) != SQLITE_OK)
        return -1;
    sqlite3_exec(db,
                 "create table if not exists PLAYLISTS (IDPL integer primary key, ID integer, POS integer, "
                 "FILENAME text, TITLE text, ARTIST text, ALBUM text, LENGTH integer)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = bench::PrepareTrackInsert(db);
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
        bench::InsertTrack(insert, 1, pos++, path, title, artist, album, length);
    });
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return pos;
}

// The longest the event loop went without running a 1 ms timer, in milliseconds.
class StallMeter {
public:
    StallMeter()
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0)
                longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
        clock_.start();
        timer_.start();
    }
    double LongestMs() const { return double(longest_) / 1e6; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 longest_ = 0;
};

// Adds the folder as a new playlist through the window and waits, with the event loop running, until it is stored.
int WindowAdd(Player& player)
{
    player.AddListFromFolder();
    while (player.library.Adds().Busy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return player.CurrentTrackList().GetCount();
}

bool DropPageCache()
{
    sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return drop.good();
}

double PerSecond(int files, double seconds) { return seconds > 0 ? files / seconds : 0; }

// The system's load averages over 1, 5 and 15 minutes: other work on a shared
// machine changes every figure here.
std::string LoadAverages()
{
    double one = 0, five = 0, fifteen = 0;
    std::ifstream("/proc/loadavg") >> one >> five >> fifteen;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f, %.2f, %.2f", one, five, fifteen);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    bench::Headless();
    QApplication app(argc, argv);
    TempDir tmp;
    const auto music = tmp.Path() / "music";
    const auto many = tmp.Path() / "many";
    const std::string loadBefore = LoadAverages();
    std::printf("making %d tagged MP3 files and %d copies...\n", kFolders * kFilesPerFolder, kManyFiles);
    MakeMusic(music);
    MakeManyCopies(many);

    BareLoop(music, tmp.Path() / "bare.db3");  // warms the file cache
    int bareRows = 0;
    double bare = 1e9;
    for (int run = 0; run < kRuns; ++run)
        bare = std::min(bare, bench::Seconds([&] { bareRows = BareLoop(music, tmp.Path() / "bare.db3"); }));

    Sqlite3Session session;
    if (!bench::OpenLibrary(session, tmp.Path() / "library.db3"))
        return 1;
    int prompts = 0;
    SetPromptHandler([&](const PromptRequest&) { ++prompts; });
    std::filesystem::path chosen = music;
    SetFileSelectHandler([&](FileSelectRequest&) -> FileSelectAnswer { return std::vector<String>{chosen.string()}; });

    double window = 1e9, manyStall = 0, manySeconds = 0, coldWindow = 0, coldBare = 0;
    int rows = 0, manyRows = 0;
    bool cold = false;
    {
        Player player;
        player.resize(900, 600);
        player.show();
        QApplication::processEvents();
        for (int run = 0; run < kRuns; ++run)
            window = std::min(window, bench::Seconds([&] { rows = WindowAdd(player); }));

        chosen = many;
        StallMeter meter;
        manySeconds = bench::Seconds([&] { manyRows = WindowAdd(player); });
        manyStall = meter.LongestMs();

        chosen = music;
        cold = DropPageCache();
        if (cold) {
            coldWindow = bench::Seconds([&] { WindowAdd(player); });
            DropPageCache();
            coldBare = bench::Seconds([&] { BareLoop(music, tmp.Path() / "bare.db3"); });
        }
        QApplication::processEvents();
    }
    SQL.Detach();
    const int readers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    std::printf("load averages: %s at the start, %s at the end\n", loadBefore.c_str(), LoadAverages().c_str());
    std::printf("bare loop, one thread (tags + C interface), best of %d: %d files in %.3f s, %.0f files/s\n", kRuns,
                bareRows, bare, PerSecond(bareRows, bare));
    std::printf("Add folder in the window, %d readers, best of %d:      %d files in %.3f s, %.0f files/s (%d messages)\n",
                readers, kRuns, rows, window, PerSecond(rows, window), prompts);
    std::printf("ratio window / bare: %.2f (target <= 1.0)\n", window / bare);
    std::printf("%d files: %d added in %.2f s (%.0f files/s); longest wait of the event loop %.1f ms (target <= 50)\n",
                kManyFiles, manyRows, manySeconds, PerSecond(manyRows, manySeconds), manyStall);
    if (cold)
        std::printf("cold cache: window %.3f s (%.0f files/s), bare loop %.3f s (%.0f files/s), ratio %.2f\n",
                    coldWindow, PerSecond(rows, coldWindow), coldBare, PerSecond(bareRows, coldBare),
                    coldWindow / coldBare);
    else
        std::printf("cold cache: not measured (the page cache cannot be dropped here)\n");
    return 0;
}
