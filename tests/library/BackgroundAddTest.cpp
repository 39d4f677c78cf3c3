#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>

#include <QProcess>

#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "MusicFixtures.h"
#include "LibraryHarness.h"
#include "library/ScanFolder.h"
#include "support/OtherConnection.h"

using music_fixtures::MakeMp3;
namespace fs = std::filesystem;

namespace {

class BackgroundAddTest : public LibraryHarness {
protected:
    // A small tree of tagged files; returns its paths in scan order.
    std::vector<String> MakeTree(const fs::path& root)
    {
        MakeMp3(root / "b.mp3", "B");
        MakeMp3(root / "A.mp3", "A");
        MakeMp3(root / "sub" / "c.mp3", "C");
        MakeMp3(root / "sub" / "deeper" / "d.mp3", "D");
        MakeMp3(root / "z.mp3", "Z");
        std::vector<String> paths;
        ScanFolder(root.string(), [&](const String& path) { paths.push_back(path); });
        return paths;
    }

    // Copies of the tone, untagged, enough that an add takes a while.
    void MakeMany(const fs::path& root, int count)
    {
        for (int i = 0; i < count; ++i) {
            const fs::path folder = root / ("cd" + std::to_string(i / 100));
            fs::create_directories(folder);
            fs::copy_file(music_fixtures::ToneMp3(), folder / ("t" + std::to_string(1000 + i) + ".mp3"));
        }
    }

    void NewList(const String& name)
    {
        Lists().DoAppend();
        Lib().NameEditor.setText(QString::fromStdString(name));
        Lists().AcceptEdit();
    }

    // The list's stored entries as "TITLE@POS", in the order they were stored.
    std::vector<String> Stored(int listRow)
    {
        const String id = Lists().Get(listRow, LIST_ID).ToString();
        return Query("select TITLE || '@' || POS from PLAYLISTS where ID = " + id + " order by IDPL");
    }

    void WaitForRows(int atLeast)
    {
        QElapsedTimer waited;
        waited.start();
        while (Tracks().GetCount() < atLeast && waited.elapsed() < 30000)
            QTest::qWait(1);
    }

    // Starts adding the folder while another program holds the library's
    // write lock, and returns once a batch of it waits with the writer.
    void AddWhileLocked(const fs::path& folder, bool append)
    {
        other.Run("BEGIN IMMEDIATE");
        std::size_t handled = 0;
        Lib().Adds().WhenProgress = [&](const BackgroundAdd::Progress& progress) { handled = progress.handled; };
        Answer(std::vector<String>{folder.string()});
        Lib().AddFolder(append);
        QElapsedTimer waited;
        waited.start();
        while (handled == 0 && waited.elapsed() < 30000)
            QTest::qWait(5);
        Lib().Adds().WhenProgress = nullptr;
        QTest::qWait(static_cast<int>(BackgroundAdd::kBatchTime.count()) * 2);
        EXPECT_EQ(Tracks().GetCount(), rowsBefore) << "a batch was shown before it was stored";
    }
    // The other program lets go a moment later, from a thread of its own, so
    // the test's thread may be waiting for the lock meanwhile.
    std::thread CommitSoon()
    {
        return std::thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            other.Run("COMMIT");
        });
    }
    OtherConnection other{dir.File("QuillonPlayer.db3")};
    int rowsBefore = 0;

    // The folder add's files as the grid and the database hold them, in display and POS order.
    std::vector<String> ShownFiles() { return Column(Tracks(), TRACK_FILE); }
    std::vector<String> StoredFiles()
    {
        const String id = Lists().Get(Lists().GetCursor(), LIST_ID).ToString();
        return Query("select FILENAME from PLAYLISTS where ID = " + id + " order by POS, IDPL");
    }
};

} // namespace

TEST_F(BackgroundAddTest, RowsLandWhereAFileByFileAddPutsThem)
{
    const std::vector<String> paths = MakeTree(dir.Path() / "tree");
    const String x = MakeMp3(dir.Path() / "x.mp3", "X"), y = MakeMp3(dir.Path() / "y.mp3", "Y");
    NewList("by file");
    NewList("background");
    for (int list : {1, 2}) {
        Lists().SetCursor(list);
        Lib().AddTrack(true, x);
        Lib().AddTrack(true, y);
    }

    struct Case {
        bool append;
        int cursor;
    };
    for (const Case& step : {Case{false, 1}, Case{true, 0}, Case{false, 0}}) {
        SCOPED_TRACE(step.append ? "append" : "insert at " + std::to_string(step.cursor));
        Lists().SetCursor(1);
        Tracks().SetCursor(step.cursor);
        for (const String& path : paths)
            Lib().AddTrack(step.append, path);
        Lists().SetCursor(2);
        Tracks().SetCursor(step.cursor);
        Answer(std::vector<String>{(dir.Path() / "tree").string()});
        Lib().AddFolder(step.append);
        WaitForAdds();
        EXPECT_EQ(TitlesOf(2), TitlesOf(1));
        EXPECT_EQ(Stored(2), Stored(1));
        EXPECT_EQ(Tracks().GetCursor(), (Lists().SetCursor(1), Tracks().GetCursor()));
    }

    // Inserting into an empty playlist appends, as it does file by file.
    NewList("empty by file");
    const bool appends = !Tracks().IsCursor();  // decided once per command, before its first file
    for (const String& path : paths)
        Lib().AddTrack(appends, path);
    NewList("empty background");
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddFolder(false);
    WaitForAdds();
    EXPECT_EQ(TitlesOf(4), (std::vector<String>{"A", "B", "C", "D", "Z"}));
    EXPECT_EQ(TitlesOf(4), TitlesOf(3));
    EXPECT_EQ(Stored(4), Stored(3));

    // A playlist made from a folder holds the scan order.
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddListFromFolder();
    WaitForAdds();
    EXPECT_EQ(ListNames().back(), "tree");
    EXPECT_EQ(Titles(), TitlesOf(3));
    EXPECT_EQ(Stored(5), Stored(3));

    Restart();
    for (int list = 1; list <= 4; ++list)
        EXPECT_EQ(TitlesOf(list), TitlesOf(list % 2 ? list + 1 : list - 1)) << list;
}

TEST_F(BackgroundAddTest, ASecondAddWaitsForTheFirstAndKeepsItsOrder)
{
    const std::vector<String> paths = MakeTree(dir.Path() / "tree");
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddFolder(true);
    Answer(std::vector<String>{MakeMp3(dir.Path() / "last.mp3", "Last")});
    Lib().AddFiles(true);
    EXPECT_TRUE(Lib().Adds().Busy());
    WaitForAdds();
    EXPECT_EQ(Titles(), (std::vector<String>{"A", "B", "C", "D", "Z", "Last"}));
    EXPECT_TRUE(prompts.empty());
}

TEST_F(BackgroundAddTest, CancelKeepsWhatWasStoredAndNothingElse)
{
    MakeMany(dir.Path() / "many", 3000);
    Answer(std::vector<String>{(dir.Path() / "many").string()});
    Lib().AddFolder(true);
    WaitForRows(1);
    Lib().Adds().CancelCurrent();
    EXPECT_FALSE(Lib().Adds().Busy());

    const std::vector<String> shown = ShownFiles();
    ASSERT_GT(shown.size(), 0u);
    EXPECT_LT(shown.size(), 3000u);
    EXPECT_EQ(StoredFiles(), shown);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));  // the scan's prefix: names sort like the scan
    EXPECT_TRUE(prompts.empty());

    Restart();
    EXPECT_EQ(ShownFiles(), shown);
}

TEST_F(BackgroundAddTest, ClosingTheWindowDuringAnAddKeepsWindowAndLibraryAgreeing)
{
    MakeMany(dir.Path() / "many", 3000);
    Answer(std::vector<String>{(dir.Path() / "many").string()});
    Lib().AddFolder(true);
    WaitForRows(1);
    Restart();

    const std::vector<String> shown = ShownFiles();
    EXPECT_GT(shown.size(), 0u);
    EXPECT_LT(shown.size(), 3000u);
    EXPECT_EQ(StoredFiles(), shown);
    for (int row = 0; row < Tracks().GetCount(); ++row)
        EXPECT_FALSE(Tracks().Get(row, TRACK_ID).IsNull());
}

TEST_F(BackgroundAddTest, OneSummaryListsEveryFileThatCouldNotBeAddedWithItsReason)
{
    const fs::path root = dir.Path() / "mixed";
    const fs::path fixtures = QP_FIXTURES;
    fs::create_directories(root);
    for (const char* name : {"empty.mp3", "random.mp3", "text.ogg", "truncated.mp3"})
        fs::copy_file(fixtures / name, root / name);
    // The tag reader reads this one; no decoder knows its codec.
    std::ifstream wavIn(fixtures / "tone.wav", std::ios::binary);
    std::string wav{std::istreambuf_iterator<char>(wavIn), std::istreambuf_iterator<char>()};
    wav[20] = 0x34;
    wav[21] = 0x12;
    std::ofstream(root / "odd codec.wav", std::ios::binary) << wav;
    ASSERT_EQ(mkfifo((root / "pipe.mp3").c_str(), 0600), 0);
    MakeMp3(root / "good.mp3", "Good");
    const fs::path locked = root / "locked";
    MakeMp3(locked / "hidden.mp3", "Hidden");
    chmod(locked.c_str(), 0);
    const bool lockedIsUnreadable = geteuid() != 0;  // the superuser reads everything

    Answer(std::vector<String>{root.string()});
    Lib().AddFolder(true);
    WaitForAdds();
    chmod(locked.c_str(), 0700);

    ASSERT_EQ(prompts.size(), 1u);
    const String r = root.string() + "/";
    String expected = r + "empty.mp3: empty file\n";
    if (lockedIsUnreadable)
        expected += r + "locked: cannot read folder: permission denied\n";
    expected += r + "odd codec.wav: unsupported format\n" + r + "pipe.mp3: not a regular file\n" +
                r + "random.mp3: not an audio file\n" +
                r + "text.ogg: not an audio file\n" + r + "truncated.mp3: damaged\n";
    EXPECT_EQ(promptDetails[0], expected);
    const std::vector<String> added = lockedIsUnreadable ? std::vector<String>{"Good"}
                                                         : std::vector<String>{"Good", "Hidden"};
    EXPECT_EQ(prompts[0], "Added " + std::to_string(added.size()) + (added.size() == 1 ? " file" : " files") +
                              "; " + (lockedIsUnreadable ? "7" : "6") + " could not be added.");
    EXPECT_EQ(Titles(), added);
    EXPECT_EQ(Query("select TITLE from PLAYLISTS order by POS"), added);
}

// The child side of the kill test: adds the folder named in the environment to the
// library named there and prints the row count each time a batch lands. Skipped
// when run on its own.
TEST(BackgroundAddChild, AddsAndReportsEachBatch)
{
    const char* db = std::getenv("QP_ADD_CHILD_DB");
    const char* music = std::getenv("QP_ADD_CHILD_MUSIC");
    if (!db || !music)
        GTEST_SKIP() << "runs as the child of the kill test";
    Sqlite3Session session;
    ASSERT_TRUE(session.Open(db));
    SqlBinding binding(session);
    SetPromptHandler([](const PromptRequest&) {});
    SetFileSelectHandler([&](FileSelectRequest&) -> FileSelectAnswer { return std::vector<String>{music}; });
    PartsRig parts;
    parts.library.AddFolder(true);
    int reported = 0;
    while (parts.library.Adds().Busy()) {
        QTest::qWait(1);
        if (const int rows = parts.library.CurrentTrackList().GetCount(); rows != reported) {
            reported = rows;
            std::printf("rows %d\n", rows);
            std::fflush(stdout);
        }
    }
}

TEST_F(BackgroundAddTest, AKilledAddKeepsEveryBatchItCommitted)
{
    MakeMany(dir.Path() / "many", 3000);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QP_ADD_CHILD_DB", QString::fromStdString(dir.File("QuillonPlayer.db3")));
    environment.insert("QP_ADD_CHILD_MUSIC", QString::fromStdString((dir.Path() / "many").string()));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=BackgroundAddChild.*"});
    ASSERT_TRUE(child.waitForStarted());
    int shown = 0;
    QElapsedTimer waited;
    waited.start();
    while (shown == 0 && waited.elapsed() < 30000 && child.state() == QProcess::Running) {
        child.waitForReadyRead(100);
        while (child.canReadLine())
            std::sscanf(child.readLine().constData(), "rows %d", &shown);
    }
    child.kill();  // SIGKILL: no destructor, no exit path
    child.waitForFinished();
    ASSERT_GT(shown, 0) << "the child showed no row before it was killed";

    Restart();
    const std::vector<String> files = ShownFiles();
    EXPECT_GE(files.size(), static_cast<size_t>(shown));
    EXPECT_LT(files.size(), 3000u);
    EXPECT_EQ(StoredFiles(), files);
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
    EXPECT_EQ(Query("pragma integrity_check"), std::vector<String>{"ok"});
}

TEST_F(BackgroundAddTest, FilesTheLibraryRefusesAreListedAndNeverShown)
{
    MakeTree(dir.Path() / "tree");
    session.SetBusyTimeout(50);
    other.Run("BEGIN IMMEDIATE");
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddFolder(true);
    WaitForAdds();
    other.Run("COMMIT");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Added 0 files; 5 could not be added.");
    EXPECT_NE(promptDetails[0].find("A.mp3: not stored: the library is locked by another program\n"), String::npos)
        << promptDetails[0];
    EXPECT_TRUE(ShownFiles().empty());
    EXPECT_TRUE(StoredFiles().empty());

    // Once the other program lets go, the same add stores everything.
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddFolder(true);
    WaitForAdds();
    EXPECT_EQ(Titles(), (std::vector<String>{"A", "B", "C", "D", "Z"}));
    EXPECT_EQ(StoredFiles(), ShownFiles());
}

TEST_F(BackgroundAddTest, ClosingWhileABatchIsBeingStoredShowsItAfterTheRestartInItsPlace)
{
    MakeMany(dir.Path() / "many", 3000);
    Lib().AddTrack(true, MakeMp3(dir.Path() / "p.mp3", "P"));
    Lib().AddTrack(true, MakeMp3(dir.Path() / "q.mp3", "Q"));
    rowsBefore = 2;
    session.SetBusyTimeout(10000);
    Tracks().SetCursor(0);
    AddWhileLocked(dir.Path() / "many", false);
    std::thread commit = CommitSoon();
    Restart();  // waits for the batch the writer holds, then saves the order shown
    commit.join();

    const std::vector<String> titles = Titles();
    ASSERT_GT(titles.size(), 2u);
    EXPECT_LT(titles.size(), 3002u);
    EXPECT_EQ(std::vector<String>(titles.end() - 2, titles.end()), (std::vector<String>{"P", "Q"}));
    const std::vector<String> shown = ShownFiles();
    EXPECT_EQ(StoredFiles(), shown);
    // Inserted one by one above the same row: the scan's order, reversed.
    EXPECT_TRUE(std::is_sorted(shown.rbegin() + 2, shown.rend()));
}

TEST_F(BackgroundAddTest, EditsDuringAnAddAreStoredAlongsideItsBatches)
{
    MakeTree(dir.Path() / "tree");
    for (const char* title : {"P", "Q", "R"})
        Lib().AddTrack(true, MakeMp3(dir.Path() / (String(title) + ".mp3"), title));
    rowsBefore = 3;
    session.SetBusyTimeout(10000);
    Tracks().SetCursor(1);  // the files go above Q
    AddWhileLocked(dir.Path() / "tree", false);
    std::thread commit = CommitSoon();

    // Deleting P waits for the other program's lock; moving R up waits for the batch too.
    Tracks().SetCursor(0);
    Tracks().DoRemove();
    Tracks().SetCursor(Tracks().GetCount() - 1);
    Tracks().MoveRowUp();
    Lists().SetCursor(0);
    ASSERT_TRUE(Lists().StartEdit());
    Lib().NameEditor.setText("Mixed");
    Lists().AcceptEdit();
    WaitForAdds();
    commit.join();

    const std::vector<String> expected{"R", "Z", "D", "C", "B", "A", "Q"};
    EXPECT_EQ(Titles(), expected);
    EXPECT_EQ(StoredFiles(), ShownFiles());
    EXPECT_TRUE(prompts.empty());
    Restart();
    EXPECT_EQ(ListNames(), std::vector<String>{"Mixed"});
    EXPECT_EQ(Titles(), expected);
}

TEST_F(BackgroundAddTest, RowsRemovedAboveTheInsertionPointWhileAnAddRunsLeaveItsRowsTogether)
{
    MakeMany(dir.Path() / "many", 300);
    std::vector<String> paths;
    ScanFolder((dir.Path() / "many").string(), [&](const String& path) { paths.push_back(path); });
    for (const char* title : {"P", "Q", "R"})
        Lib().AddTrack(true, MakeMp3(dir.Path() / (String(title) + ".mp3"), title));
    Tracks().SetCursor(2);  // the files go above R

    // The first 150 files come at once; the rest only when the test says so,
    // so the add certainly stops between two batches.
    constexpr int kFirst = 150;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    struct Release {
        std::promise<void>& promise;
        bool done = false;
        void operator()() { if (!done) promise.set_value(); done = true; }
        ~Release() { (*this)(); }
    } letGo{release};
    BackgroundAdd::Request request;
    request.grid = &Tracks();
    request.list = Lists().Get(Lists().GetCursor(), LIST_ID);
    request.append = false;
    request.source = [paths, released](const std::function<bool(ProbedPath&&)>& push) {
        for (int i = 0; i < static_cast<int>(paths.size()); ++i) {
            if (i == kFirst)
                released.wait();
            if (!push(ProbedPath{paths[static_cast<size_t>(i)], {}}))
                return;
        }
    };
    Lib().Adds().Queue(std::move(request));

    // Part of the first batch shown (when a turn of the event loop shows
    // only part of it): P goes. All of it shown, nothing more to come: Q goes,
    // and P if it is still there.
    bool pGone = false;
    const auto shownOfAdd = [&] { return Tracks().GetCount() - (pGone ? 2 : 3); };
    QElapsedTimer waited;
    waited.start();
    while (shownOfAdd() < kFirst && waited.elapsed() < 30000) {
        QCoreApplication::processEvents();
        if (!pGone && shownOfAdd() > 0 && shownOfAdd() < kFirst) {
            Tracks().SetCursor(0);
            Tracks().DoRemove();
            pGone = true;
        }
    }
    ASSERT_EQ(shownOfAdd(), kFirst) << "the first files were not all shown";
    for (int row = pGone ? 1 : 2; row > 0; --row) {
        Tracks().SetCursor(0);
        Tracks().DoRemove();
    }
    letGo();
    WaitForAdds();

    const std::vector<String> titles = Titles();
    ASSERT_EQ(titles.size(), 301u);
    EXPECT_EQ(titles.back(), "R");
    // Inserted one by one above the same row: the scan's order, reversed, unbroken.
    std::vector<String> shown = ShownFiles();
    shown.pop_back();
    EXPECT_EQ(shown, std::vector<String>(paths.rbegin(), paths.rend()));
    EXPECT_EQ(StoredFiles(), ShownFiles());
    Restart();
    EXPECT_EQ(Titles(), titles);
}

TEST_F(BackgroundAddTest, TheWindowsOwnChangesHoldUpABatchButAreNeverBlamedOnAnotherProgram)
{
    MakeTree(dir.Path() / "tree");
    session.SetBusyTimeout(50);
    // The window's own connection in the middle of a change, for many of the writer's busy timeouts.
    const auto holdTheLibrary = [&] {
        ASSERT_TRUE(session.Begin());
        ASSERT_TRUE(Sql(session).Execute(String("update PLAYLISTS set POS = POS")));
        ASSERT_TRUE(session.HoldsLock());
    };
    holdTheLibrary();
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddFolder(true);
    QTest::qWait(500);
    EXPECT_TRUE(ShownFiles().empty()) << "a batch was shown before it was stored";
    ASSERT_TRUE(session.Commit());
    WaitForAdds();
    EXPECT_TRUE(prompts.empty()) << (prompts.empty() ? String() : promptDetails[0]);
    EXPECT_EQ(Titles(), (std::vector<String>{"A", "B", "C", "D", "Z"}));
    EXPECT_EQ(StoredFiles(), ShownFiles());

    // Waiting for the batch while its own change is open, the window cannot let
    // go: the batch is given up, for the true reason.
    holdTheLibrary();
    std::size_t handled = 0;
    Lib().Adds().WhenProgress = [&](const BackgroundAdd::Progress& progress) { handled = progress.handled; };
    Answer(std::vector<String>{(dir.Path() / "tree").string()});
    Lib().AddFolder(true);
    QElapsedTimer waited;
    waited.start();
    while (handled < 5 && waited.elapsed() < 30000)
        QTest::qWait(5);
    Lib().Adds().WhenProgress = nullptr;
    QTest::qWait(static_cast<int>(BackgroundAdd::kBatchTime.count()) * 2);
    Lib().Adds().Settle();
    ASSERT_TRUE(session.Commit());
    WaitForAdds();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(promptDetails[0].find("A.mp3: not stored: another change in this window kept the library busy\n"),
              String::npos)
        << promptDetails[0];
    EXPECT_EQ(promptDetails[0].find("another program"), String::npos) << promptDetails[0];
    EXPECT_EQ(StoredFiles(), ShownFiles());
    EXPECT_EQ(ShownFiles().size(), 5u);
}
