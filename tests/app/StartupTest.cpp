// Start-up on a library that cannot be read as it is: locked by another
// program, or damaged. The user is told once and chooses; nothing is written
// unless the user agrees.

#include <QLocale>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "MainBodyRun.h"
#include "app/Language.h"
#include "app/LibraryStartup.h"
#include "app/MainBody.h"
#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "support/OtherConnection.h"
#include "support/ReadFile.h"

namespace {

// A library folder holding the playlists "Jazz" and "Rock", and another
// program's connection to its database.
class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        Sqlite3Session setup;
        ASSERT_TRUE(setup.Open(db));
        ASSERT_TRUE(CreateLibraryTables(setup));
        Sql cursor(setup);
        ASSERT_TRUE(cursor.Execute(String("insert into LISTS(NAME, POS) values ('Jazz', 0), ('Rock', 1)")));
    }
    void TearDown() override
    {
        other.Close();
        SQL.Detach();
    }

    // Runs the program; the user looks at the playlists shown and closes the window.
    void Run(PromptAnswer answer)
    {
        PromptLog log(std::move(answer));
        CloseWhenRunning user([this](Player& player) { shown = Shown(player.ListGrid, LIST_NAME); });
        session.SetBusyTimeout(50);
        MainBody(session, Folder(dir), "player");
        prompts = log.shown;
        closed = user.closed;
    }

    std::vector<std::string> Stored() { return ReadBack(db, "select NAME || '@' || POS from LISTS order by POS"); }
    bool ConfigWritten() { return std::filesystem::exists(dir.File("player.cfg")); }

    TempDir dir;
    std::string db = dir.File("QuillonPlayer.db3");
    Sqlite3Session session;
    OtherConnection other{db};
    std::vector<PromptRequest> prompts;
    std::vector<std::string> shown;
    int closed = 0;
};

const std::vector<std::string> kRetryQuit{"Retry", "Quit"};
const std::vector<std::string> kFreshQuit{"Start a new library", "Quit"};

}  // namespace

TEST_F(StartupTest, ALockedLibraryOffersRetryAndShowsTheStoredPlaylistsOnceFree)
{
    other.Run("BEGIN EXCLUSIVE");
    Run([this](const PromptRequest&) {
        other.Run("COMMIT");  // the user closes the other program, then retries
        return 0;
    });
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].kind, PromptKind::Question);
    EXPECT_EQ(prompts[0].buttons, kRetryQuit);
    EXPECT_NE(prompts[0].text.find("is locked by another program"), std::string::npos) << prompts[0].text;
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"Jazz", "Rock"}));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"Jazz@0", "Rock@1"}));
}

TEST_F(StartupTest, QuittingOnALockedLibraryOpensNoWindowAndWritesNothing)
{
    other.Run("BEGIN EXCLUSIVE");
    Run([](const PromptRequest&) { return 1; });
    other.Run("COMMIT");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].buttons, kRetryQuit);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(ConfigWritten());
    EXPECT_FALSE(session.IsOpen());
    EXPECT_EQ(Stored(), (std::vector<std::string>{"Jazz@0", "Rock@1"}));
}

TEST_F(StartupTest, AForeignFileIsKeptAsItIsUnlessTheUserStartsANewLibrary)
{
    const std::string bytes = "Shopping list: bread, milk, more bread. Not a library, but long enough.\n";
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;

    Run([](const PromptRequest&) { return 1; });
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].buttons, kFreshQuit);
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(ReadFile(db), bytes);
    EXPECT_FALSE(ConfigWritten());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    Run([](const PromptRequest&) { return 0; });
    ASSERT_EQ(prompts.size(), 1u);
    const std::string aside = DamagedFileName(db);  // the next free name is "-2": the first is taken
    const std::string kept = aside.substr(0, aside.size() - 2);
    EXPECT_NE(prompts[0].text.find(std::filesystem::path(kept).filename().string()), std::string::npos)
        << prompts[0].text;
    EXPECT_EQ(ReadFile(kept), bytes);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(shown, std::vector<std::string>{kDefaultListName});
    EXPECT_EQ(Stored(), std::vector<std::string>{"Playlist 1@0"});
}

TEST_F(StartupTest, ADamagedLibraryFailsItsCheckAndIsMovedAsideWithItsJournal)
{
    // Damage the table pages behind the first page, as a bad sector would.
    {
        Sqlite3Session fill;
        ASSERT_TRUE(fill.Open(db));
        Sql cursor(fill);
        SqlTransaction transaction(fill);
        for (int i = 0; i < 200; ++i)
            cursor.Execute(String("insert into PLAYLISTS(ID, POS, FILENAME) values (1, ") + std::to_string(i) +
                           ", '/music/a rather long file name to fill pages " + std::to_string(i) + ".mp3')");
        ASSERT_TRUE(transaction.Commit());
    }
    std::string bytes = ReadFile(db);
    ASSERT_GT(bytes.size(), 8192u);
    for (size_t i = 4096 + 100; i < bytes.size(); i += 97)
        bytes[i] = static_cast<char>(0xA5);
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;
    std::ofstream(db + "-journal", std::ios::binary) << "";

    Run([](const PromptRequest&) { return 0; });
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].buttons, kFreshQuit);
    const std::string aside = DamagedFileName(db);
    const std::string kept = aside.substr(0, aside.size() - 2);
    EXPECT_EQ(ReadFile(kept), bytes);
    EXPECT_TRUE(std::filesystem::exists(kept + "-journal"));
    EXPECT_EQ(shown, std::vector<std::string>{kDefaultListName});
}

TEST_F(StartupTest, MessagesBeforeTheLibraryOpensSpeakTheStoredOrTheDesktopsLanguage)
{
    const QLocale desktop;
    Sqlite3Session setup;
    ASSERT_TRUE(setup.Open(db));
    ASSERT_TRUE(StoreLanguageChoice(setup, LanguageChoice::Polish));
    setup.Close();
    QLocale::setDefault(QLocale(QLocale::English));
    EXPECT_EQ(PeekLanguageChoice(db), LanguageChoice::Polish);
    EXPECT_EQ(PeekLanguageChoice(dir.File("none.db3")), LanguageChoice::None);
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.db3")));

    // A locked file cannot tell: the desktop's language decides.
    other.Run("BEGIN EXCLUSIVE");
    EXPECT_EQ(PeekLanguageChoice(db), LanguageChoice::None);
    QLocale::setDefault(QLocale(QLocale::Polish));
    EXPECT_EQ(PeekLanguageChoice(db), LanguageChoice::Polish);
    Run([](const PromptRequest&) { return 1; });
    QLocale::setDefault(desktop);
    SetLanguageChoice(LanguageChoice::None);
    other.Run("COMMIT");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].buttons, (std::vector<std::string>{"Ponów", "Zakończ"}));
    EXPECT_EQ(prompts[0].text.rfind("Biblioteka QuillonPlayer.db3 jest zablokowana przez inny program", 0), 0u)
        << prompts[0].text;
    EXPECT_EQ(closed, 0);
}
