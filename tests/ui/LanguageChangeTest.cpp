#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

#include "ui/GridCtrl.h"
#include "ui/GridToolBar.h"
#include "ui/LanguageChange.h"
#include "ui/PlayerTexts.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

namespace {

constexpr uint32_t kId = kTranslationIdentifier;

const TranslationEntry kSwitchedTexts[] = {
    {kId, "Quillon test: switched"},
    {kPolishLanguage, "przełączony"},
    {0, nullptr},
};

class LanguageChangeTest : public testing::Test {
protected:
    void SetUp() override
    {
        language_ = GetCurrentLanguage();
        playerTexts_ = IsTranslationModuleEnabled(PlayerTexts());
    }
    void TearDown() override
    {
        SetLanguage(language_);
        EnableTranslationModule(PlayerTexts(), playerTexts_);
    }

private:
    uint32_t language_ = 0;
    bool playerTexts_ = false;
};

// The toolbar's tooltips, in order.
std::vector<std::string> Tooltips(GridCtrl& grid)
{
    std::vector<std::string> texts;
    if (GridToolBar* toolBar = grid.GetToolBar())
        for (const BarItem& item : toolBar->GetBar().Items())
            if (!item.IsSeparator() && !item.IsGap() && !item.IsCtrl())
                texts.push_back(item.GetText());
    return texts;
}

}  // namespace

TEST_F(LanguageChangeTest, ADisabledModuleIsSkippedUntilEnabled)
{
    static const bool registered = RegisterTranslationModule(kSwitchedTexts, false);
    ASSERT_TRUE(registered);
    SetLanguage(kPolishLanguage);
    EXPECT_FALSE(IsTranslationModuleEnabled(kSwitchedTexts));
    EXPECT_STREQ(Translate("Quillon test: switched"), "Quillon test: switched");
    ASSERT_TRUE(EnableTranslationModule(kSwitchedTexts, true));
    // Enabling forgets the answers given before, as a change of language does.
    EXPECT_STREQ(Translate("Quillon test: switched"), "przełączony");
    ASSERT_TRUE(EnableTranslationModule(kSwitchedTexts, false));
    EXPECT_STREQ(Translate("Quillon test: switched"), "Quillon test: switched");

    static const TranslationEntry unregistered[] = {{0, nullptr}};
    EXPECT_FALSE(EnableTranslationModule(unregistered, true));
    EXPECT_FALSE(IsTranslationModuleEnabled(unregistered));
}

TEST_F(LanguageChangeTest, PlayerTextsFollowTheirSwitchWhileTheGridsAlwaysTranslate)
{
    ASSERT_TRUE(BuiltInTranslationsRegistered());
    SetLanguage(kPolishLanguage);
    EnableTranslationModule(PlayerTexts(), false);
    // Switched off, the program's texts stay as written; the grid's bare "Insert" does not.
    EXPECT_STREQ(Translate("Exit"), "Exit");
    EXPECT_STREQ(Translate("menu\vInsert"), "Insert");
    EXPECT_STREQ(Translate("Insert"), "Wstaw");
    EXPECT_STREQ(Translate("Moving row %d before row %d"), "Moving row %d before row %d");

    EnableTranslationModule(PlayerTexts(), true);
    EXPECT_STREQ(Translate("Exit"), "Zakończ");
    EXPECT_STREQ(Translate("menu\vInsert"), "Wstaw");
    // Every identifier of the table has a Polish text, with the same placeholders.
    int count = 0, translations = 0;
    const char* identifier = nullptr;
    for (const TranslationEntry* entry = PlayerTexts(); entry->text; ++entry) {
        if (entry->code == kTranslationIdentifier) {
            identifier = entry->text;
            ++count;
            EXPECT_NE(std::string(Translate(identifier)), "") << identifier;
            continue;
        }
        ASSERT_NE(identifier, nullptr);
        EXPECT_EQ(entry->code, kPolishLanguage);
        ++translations;
        const std::string english(identifier), polish(entry->text);
        auto marks = [](const std::string& s) {
            std::string found;
            for (size_t i = 0; i + 1 < s.size(); ++i)
                if (s[i] == '%')
                    found += s[i + 1];
            return found;
        };
        EXPECT_EQ(marks(polish), marks(english)) << english;
    }
    EXPECT_GT(count, 20);
    EXPECT_EQ(translations, count) << "an identifier without its one Polish entry";

    SetLanguage(kEnglishLanguage);
    EXPECT_STREQ(Translate("Exit"), "Exit");
    EXPECT_STREQ(Translate("Insert"), "Insert");
}

TEST_F(LanguageChangeTest, EveryWidgetHearsTheChangeOnceShownOrHidden)
{
    QWidget window;
    auto* shown = new QWidget(&window);
    auto* hidden = new QWidget(shown);
    hidden->hide();
    QWidget lone;  // another window, never shown
    int windowHeard = 0, hiddenHeard = 0, loneHeard = 0;
    WatchLanguage(window, [&] { ++windowHeard; });
    WatchLanguage(*hidden, [&] { ++hiddenHeard; });
    WatchLanguage(lone, [&] { ++loneHeard; });
    window.show();

    AnnounceLanguageChange();
    EXPECT_EQ(windowHeard, 1);
    EXPECT_EQ(hiddenHeard, 1);
    EXPECT_EQ(loneHeard, 1);

    // A listener goes with its widget.
    delete hidden;
    AnnounceLanguageChange();
    EXPECT_EQ(windowHeard, 2);
    EXPECT_EQ(hiddenHeard, 1);
}

TEST_F(LanguageChangeTest, AGridShowsItsTextsInTheNewLanguageAndKeepsItsLayoutName)
{
    SetLanguage(0);
    GridCtrl grid;
    grid.AddColumn("Id", 0, true);
    grid.AddColumn("Title", 4);
    grid.AddColumn("Length", 2);
    grid.ListStyle(2, true, true);
    grid.EditButton(false).FindGroup(true).NavigationButtons(true);
    grid.Add({Value(1), Value("Alpha"), Value(10)});
    grid.Add({Value(2), Value("Beta"), Value(20)});
    grid.resize(500, 200);
    grid.show();
    grid.SetFindText("Beta");
    const String layout = grid.StoreLayout();
    EXPECT_EQ(Tooltips(grid).front(), "Append");
    const QRect toolBarArea = grid.GetToolBar()->geometry();

    SetLanguage(kPolishLanguage);
    AnnounceLanguageChange();
    const std::vector<std::string> polish = Tooltips(grid);
    EXPECT_EQ(polish, (std::vector<std::string>{"Dodaj", "Usuń", "Znajdź", "Opcje szukania", "Przesuń do góry",
                                                "Przesuń w dół", "Pierwszy wiersz", "Poprzedni wiersz",
                                                "Następny wiersz", "Ostatni wiersz"}));
    // Rebuilt on screen, it keeps its place and height, buttons shown.
    EXPECT_EQ(grid.GetToolBar()->geometry(), toolBarArea);
    EXPECT_TRUE(grid.GetToolBar()->GetWidget(0)->isVisible());
    // The find field is the same one, with its text and the search it made.
    EXPECT_EQ(grid.GetFindText(), "Beta");
    EXPECT_FALSE(grid.GetFound(0));
    EXPECT_TRUE(grid.GetFound(1));

    // A caption shown in another language: the stored layout still knows the column.
    grid.GetColumn(1).Caption("Tytuł");
    EXPECT_EQ(grid.GetColumn(1).GetCaption(), "Tytuł");
    EXPECT_EQ(grid.GetColumn(1).GetName(), "Title");
    EXPECT_EQ(grid.StoreLayout(), layout);
    grid.HideColumn(2, true);
    EXPECT_TRUE(grid.LoadLayout(layout));
    EXPECT_FALSE(grid.GetColumn(2).IsHidden());
}

TEST_F(LanguageChangeTest, ShownTextsAreLookedUpWholeOrByTheirPattern)
{
    EXPECT_EQ(Fill("a %s b %d c %08x 100%", {"X", "7"}), "a X b 7 c %08x 100%");
    EXPECT_EQ(Fill("%s and %s", {"one"}), "one and %s");

    const std::vector<std::pair<std::string, std::string>> polish = {
        {"the disk is full", "dysk jest pełny"},
        {"The playlist /a/b.m3u cannot be read: it is a folder.", "Nie można odczytać playlisty /a/b.m3u: to folder."},
        {"File12 is beyond NumberOfEntries=3", "File12 wykracza poza NumberOfEntries=3"},
        {"it is not a valid PLS playlist: it has no [playlist] section",
         "to nie jest poprawna playlista PLS: brak sekcji [playlist]"},
        // A system's message inside stays as the system gave it.
        {"The playlist /x.m3u8 could not be written: Permission denied.",
         "Nie udało się zapisać playlisty /x.m3u8: Permission denied."},
        {"the library database reported an error (no such table: X)", "baza biblioteki zgłosiła błąd (no such table: X)"},
        {"/music/Other", "/music/Other"},
        {"File x is beyond NumberOfEntries=3", "File x is beyond NumberOfEntries=3"},  // "%d" takes digits only
        {"", ""},
    };
    EnableTranslationModule(PlayerTexts(), true);
    SetLanguage(kPolishLanguage);
    for (const auto& [english, expected] : polish)
        EXPECT_EQ(TranslateShown(english), expected) << english;

    SetLanguage(kEnglishLanguage);
    for (const auto& [english, expected] : polish)
        EXPECT_EQ(TranslateShown(english), english);
    SetLanguage(kPolishLanguage);
    EnableTranslationModule(PlayerTexts(), false);  // no choice made yet: the program's texts stay English
    EXPECT_EQ(TranslateShown("the disk is full"), "the disk is full");
}
