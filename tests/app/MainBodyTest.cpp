#include <QMenuBar>
#include <filesystem>
#include <functional>
#include <fstream>
#include <gtest/gtest.h>

#include "MainBodyRun.h"
#include "app/Language.h"
#include "app/MainBody.h"
#include "app/Player.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "support/TempDir.h"
#include "ui/Prompt.h"

TEST(MainBody, FirstStartInAnEmptyFolderCreatesTheLibraryAndStoresTheConfiguration)
{
    TempDir dir;
    {
        Sqlite3Session session;
        CloseWhenRunning user;
        PromptLog prompts;
        MainBody(session, Folder(dir), "player");
        EXPECT_EQ(user.closed, 1);
        EXPECT_TRUE(prompts.shown.empty());
        SQL.Detach();
    }
    EXPECT_EQ(Tables(dir.File("QuillonPlayer.db3")), (std::vector<std::string>{"LISTS", "PLAYLISTS", "SETTINGS"}));
    std::ifstream config(dir.File("player.cfg"), std::ios::binary);
    std::string head(4, '\0');
    config.read(head.data(), 4);
    EXPECT_EQ(head, "data");
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(MainBody, ADatabaseThatCannotBeCreatedIsReportedAndNothingElseHappens)
{
    TempDir dir;
    const std::string folder = Folder(dir) + "no such folder/";
    Sqlite3Session session;
    CloseWhenRunning user;
    PromptLog prompts;
    MainBody(session, folder, "player");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, PromptKind::Exclamation);
    EXPECT_EQ(prompts.shown[0].text, "Can't create or open database file\n");
    EXPECT_EQ(prompts.shown[0].title, "player");
    EXPECT_EQ(user.closed, 0);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(MainBody, ADamagedConfigurationIsIgnoredAndReplacedAfterTheRun)
{
    TempDir dir;
    std::ofstream(dir.File("player.cfg"), std::ios::binary) << "not a configuration at all";
    {
        Sqlite3Session session;
        CloseWhenRunning user;
        MainBody(session, Folder(dir), "player");
        EXPECT_EQ(user.closed, 1);
        SQL.Detach();
    }
    std::ifstream config(dir.File("player.cfg"), std::ios::binary);
    std::string head(4, '\0');
    config.read(head.data(), 4);
    EXPECT_EQ(head, "data");
}

TEST(MainBody, AFileThatIsNotADatabaseDoesNotCrashAndKeepsItsBytes)
{
    TempDir dir;
    const std::string bytes = "This is a text file, not a library.\n";
    std::ofstream(dir.File("QuillonPlayer.db3"), std::ios::binary) << bytes;
    {
        Sqlite3Session session;
        CloseWhenRunning user;
        PromptLog prompts;
        MainBody(session, Folder(dir), "player");
        SQL.Detach();
    }
    std::ifstream db(dir.File("QuillonPlayer.db3"), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(db)), std::istreambuf_iterator<char>()), bytes);
}

TEST(MainBody, TheLanguagePickedInOneRunIsThereAtTheNextStart)
{
    TempDir dir;
    {
        Sqlite3Session session;
        CloseWhenRunning user([](Player& player) { player.ChooseLanguage(LanguageChoice::Polish); });
        MainBody(session, Folder(dir), "player");
        EXPECT_EQ(user.closed, 1);
        SQL.Detach();
    }
    SetLanguageChoice(LanguageChoice::None);  // as in a new process
    std::string exitText, menuText;
    {
        Sqlite3Session session;
        CloseWhenRunning user([&](Player& player) {
            exitText = player.exit.text().toStdString();
            menuText = player.GetMenuBar()->actions()[0]->text().toStdString();
        });
        MainBody(session, Folder(dir), "player");
        SQL.Detach();
    }
    EXPECT_EQ(exitText, "Zakończ");
    EXPECT_EQ(menuText, "Pliki");
    EXPECT_EQ(CurrentLanguageChoice(), LanguageChoice::Polish);
    SetLanguageChoice(LanguageChoice::None);
}
