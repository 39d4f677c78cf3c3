// One player per library folder: a second start hands over to the first and
// ends; a lock left by a killed player is taken over.

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

#include <QLockFile>

#include "MainBodyRun.h"
#include "app/Language.h"
#include "app/MainBody.h"
#include "app/SingleInstance.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"

namespace {

// Keeps the event loop running until done() or the time is up.
bool SpinUntil(const std::function<bool()>& done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

// A player process on folder: a second start, or a first one to be killed.
struct Child {
    QProcess process;
    explicit Child(const std::string& folder, const QStringList& arguments = {})
    {
        process.start(QP_TEST_CHILD, QStringList{"start", QString::fromStdString(folder)} + arguments);
    }
    ~Child()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    bool Finished() const { return process.state() == QProcess::NotRunning; }
};

}  // namespace

TEST(SingleInstance, ASecondStartOnTheSameFolderBringsTheFirstToTheFrontAndEndsWithZero)
{
    TempDir dir;
    Sqlite3Session session;
    PromptLog prompts;
    bool finished = false;
    int exitCode = -1;
    bool frontAgain = false;
    std::vector<std::string> shown;
    CloseWhenRunning user([&](Player& player) {
        player.showMinimized();
        Child second(Folder(dir));
        finished = SpinUntil([&] { return second.Finished(); });
        exitCode = second.process.exitCode();
        frontAgain = SpinUntil([&] { return !player.isMinimized(); }, 2000);
        shown = Shown(player.ListGrid, LIST_NAME);
    });
    MainBody(session, Folder(dir), "player");
    SQL.Detach();
    ASSERT_TRUE(finished);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(frontAgain);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(shown, std::vector<std::string>{kDefaultListName});
    // One library, written by the first player only.
    EXPECT_EQ(ReadBack(dir.File("QuillonPlayer.db3"), "select NAME from LISTS"),
              std::vector<std::string>{kDefaultListName});
}

TEST(SingleInstance, ASecondStartWithFilesHandsThemToTheFirstWhichAppendsThemAndPlaysTheFirst)
{
    TempDir dir;
    TempDir music;
    std::filesystem::create_directories(music.Path() / "album");
    std::filesystem::copy_file(QP_FIXTURES "/tone.ogg", music.File("album/1.ogg"));
    // Four seconds: it still plays when the test looks, however slow the build.
    const std::string first = QP_FIXTURES "/long.ogg";
    Sqlite3Session session;
    PromptLog prompts;
    int exitCode = -1;
    bool opened = false;
    bool frontAgain = false;
    bool playsTheFirst = false;
    std::vector<std::string> files;
    CloseWhenRunning user([&](Player& player) {
        player.showMinimized();
        GridCtrl& tracks = player.CurrentTrackList();
        Child second(Folder(dir), {QString::fromStdString(first), QString::fromStdString(music.File("album"))});
        ASSERT_TRUE(SpinUntil([&] { return second.Finished(); }));
        exitCode = second.process.exitCode();
        opened = SpinUntil([&] { return tracks.GetCount() == 2 && player.Started(); }, 5000);
        frontAgain = !player.isMinimized();
        files = Shown(tracks, TRACK_FILE);
        playsTheFirst = tracks.GetCount() > 0 && player.PlayingId() == tracks.Get(0, TRACK_ID).ToInt();
    });
    MainBody(session, Folder(dir), "player");
    SQL.Detach();
    EXPECT_EQ(exitCode, 0);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(frontAgain);
    EXPECT_TRUE(playsTheFirst);
    EXPECT_EQ(files, (std::vector<std::string>{first, music.File("album/1.ogg")}));
    EXPECT_TRUE(prompts.shown.empty());
    // The first player stored them in its own library.
    EXPECT_EQ(ReadBack(dir.File("QuillonPlayer.db3"), "select FILENAME from PLAYLISTS order by POS"), files);
}

TEST(SingleInstance, ASecondStartThatGetsNoAnswerSaysSoInTheUsersLanguageAndWritesNothing)
{
    TempDir dir;
    const std::string library = dir.File("QuillonPlayer.db3");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(library.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "create table SETTINGS (KEY text primary key, VALUE text)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        Sqlite3Session session;
        ASSERT_TRUE(session.Open(library));
        ASSERT_TRUE(StoreLanguageChoice(session, LanguageChoice::Polish));
    }
    // A running owner that does not listen: its lock is taken, nobody answers.
    QLockFile owner(QString::fromStdString(library + ".lock"));
    ASSERT_TRUE(owner.tryLock(0));

    Sqlite3Session session;
    PromptLog prompts;
    MainBody(session, Folder(dir), "player", {QP_FIXTURES "/tone.wav"});
    const LanguageChoice told = CurrentLanguageChoice();
    SetLanguageChoice(LanguageChoice::None);
    EXPECT_EQ(told, LanguageChoice::Polish);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Odtwarzacz jest już uruchomiony z tą biblioteką, ale nie odpowiada.\n");
    EXPECT_EQ(prompts.shown[0].title, "player");
    EXPECT_EQ(Tables(library), std::vector<std::string>{"SETTINGS"});
}

TEST(SingleInstance, ALockLeftByAKilledPlayerIsTakenOver)
{
    TempDir dir;
    {
        Child first(Folder(dir));
        // It owns the library once its window is built and the library stored.
        ASSERT_TRUE(SpinUntil([&] { return ReadBack(dir.File("QuillonPlayer.db3"), "select NAME from LISTS").size() == 1; }));
        ::kill(static_cast<pid_t>(first.process.processId()), SIGKILL);
        ASSERT_TRUE(SpinUntil([&] { return first.Finished(); }));
    }
    ASSERT_TRUE(std::filesystem::exists(dir.File("QuillonPlayer.db3.lock")));

    Sqlite3Session session;
    PromptLog prompts;
    CloseWhenRunning user;
    MainBody(session, Folder(dir), "player");
    SQL.Detach();
    EXPECT_EQ(user.closed, 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(SingleInstance, TheOwnerReceivesEachLaterStartsArgumentsUnchanged)
{
    TempDir dir;
    SingleInstance owner(Folder(dir));
    ASSERT_TRUE(owner.Acquire());
    ASSERT_TRUE(owner.IsOwner());
    std::vector<std::vector<std::string>> received;
    owner.WhenMessage = [&](std::vector<std::string> arguments) { received.push_back(std::move(arguments)); };

    // The same folder spelled another way is the same library.
    SingleInstance later(Folder(dir) + "./");
    EXPECT_FALSE(later.Acquire());
    const std::vector<std::string> files{"/music/with space.mp3", "/muzyka/żółw.ogg", ""};
    bool sent = false;
    std::thread start([&] { sent = later.Send(files) && later.Send({}); });
    SpinUntil([&] { return received.size() == 2; });
    start.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(received, (std::vector<std::vector<std::string>>{files, {}}));

    // Another folder is another library.
    TempDir elsewhere;
    SingleInstance other(Folder(elsewhere));
    EXPECT_TRUE(other.Acquire());
}
