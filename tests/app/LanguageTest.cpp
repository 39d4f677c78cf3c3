#include <QAbstractButton>
#include <QCoreApplication>
#include <QMenuBar>
#include <algorithm>
#include <set>

#include "PlayerFixture.h"
#include "app/Config.h"
#include "app/Language.h"
#include "library/LibraryGrids.h"
#include "ui/GridToolBar.h"

namespace {

// Texts that read the same in both languages.
const std::set<std::string> kSameInBoth = {"Album", "English", "Polski", "FLAC", "MIDI"};

// Every entry and help text a builder's menu shows, sub-menus included.
void MenuTexts(const Bar::Builder& builder, std::vector<std::string>& out, int depth = 0)
{
    Bar bar;
    builder(bar);
    for (const BarItem& item : bar.Items()) {
        if (item.IsSeparator() || item.IsGap() || item.IsCtrl())
            continue;
        out.push_back(item.GetText());
        if (!item.GetHelp().empty())
            out.push_back(item.GetHelp());
        if (item.IsSubMenu() && depth < 3)
            MenuTexts(item.GetSubMenu(), out, depth + 1);
    }
}

void GridTexts(GridCtrl& grid, std::vector<std::string>& out)
{
    for (int i = 0; i < grid.GetColumnCount(); ++i)
        if (!grid.GetColumn(i).IsHidden())
            out.push_back(grid.GetColumn(i).GetCaption());
    if (GridToolBar* toolBar = grid.GetToolBar())
        MenuTexts([toolBar](Bar& bar) { bar = toolBar->GetBar(); }, out);
    MenuTexts(grid.WhenMenuBar, out);
}

// Everything the window shows or would show in a menu, in a fixed order: the
// shown widgets' texts and tooltips, the bars' labels, the file selector's
// type names, the menu bar with its
// drop-downs, every grid's captions, toolbar and context menu, the find options
// and the three forms of the drag pop-up.
std::vector<std::string> ShownTexts(Player& player)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // toolbars rebuilt
    std::vector<std::string> texts;
    QList<QWidget*> widgets = player.findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(&player))
            continue;
        if (!w->toolTip().isEmpty())
            texts.push_back(w->toolTip().toStdString());
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty())
            texts.push_back(button->text().toStdString());
        if (auto* bar = dynamic_cast<ProgressButton*>(w))
            texts.push_back(bar->label);
    }
    for (QAction* action : player.GetMenuBar()->actions())
        texts.push_back(action->text().toStdString());
    for (const auto& type : player.Files().GetTypes())
        texts.push_back(type.first);
    MenuTexts([&player](Bar& bar) { player.MainMenu(bar); }, texts);
    GridTexts(player.ListGrid, texts);
    for (const auto& grid : player.TrackLists)
        GridTexts(*grid, texts);
    GridCtrl& tracks = player.CurrentTrackList();
    MenuTexts([&tracks](Bar& bar) { tracks.FindOptionsMenu(bar); }, texts);
    tracks.ClearSelection();
    texts.push_back(tracks.DragText(1));
    tracks.Select(tracks.GetCursor());
    texts.push_back(tracks.DragText(1));
    tracks.Select(tracks.GetCursor() + 1);
    texts.push_back(tracks.DragText(1));
    tracks.ClearSelection();
    return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Picks a language as the user does: through the entry of the Language menu.
void Pick(Player& player, const std::string& name)
{
    Bar bar;
    player.LanguageMenu(bar);
    for (const BarItem& item : bar.Items())
        if (item.GetText() == name)
            return item.GetAction()();
    ADD_FAILURE() << "no entry " << name;
}

// Which Language entries are checked, "-" for one that shows no check at all.
std::string Checks(Player& player)
{
    Bar bar;
    player.LanguageMenu(bar);
    std::string marks;
    for (const BarItem& item : bar.Items())
        marks += !item.IsCheckable() ? '-' : item.IsChecked() ? 'x' : 'o';
    return marks;
}

class LanguageTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        SetLanguageChoice(LoadLanguageChoice(session));  // as the main body starts
    }

    void TearDown() override
    {
        SetLanguageChoice(LanguageChoice::None);
        PlayerTest::TearDown();
    }

    // Three tracks in the selected playlist, cursor on the first.
    static GridCtrl& WithTracks(Player& player)
    {
        GridCtrl& tracks = player.CurrentTrackList();
        for (const char* title : {"Alpha", "Beta", "Gamma"})
            tracks.Add({Value(), Value(std::string("/m/") + title + ".mp3"), Value(title), Value("Band"),
                        Value("Record"), Value(1000)});
        tracks.SetCursor(0);
        return tracks;
    }
};

}  // namespace

TEST_F(LanguageTest, WithNoChoiceTheGridIsPolishAndTheProgramEnglishAsAlways)
{
    EXPECT_EQ(CurrentLanguageChoice(), LanguageChoice::None);
    EXPECT_EQ(GetCurrentLanguage(), 0x0FF8320Cu);
    Player player;
    player.show();
    WithTracks(player);
    const std::vector<std::string> texts = ShownTexts(player);
    for (const char* english : {"Exit", "To tray", "Position", "Volume", "Files", "Language", "Load", "Add",
                                "Insert", "Change name", "Add files", "Insert files", "Playlists", "Title",
                                "Moving row 1 before row 3"})
        EXPECT_TRUE(Contains(texts, english)) << english;
    for (const char* polish : {"Usuń", "Przesuń do góry", "Zaznacz wszystkie", "Kolumny", "Znajdź", "Pierwszy wiersz",
                               "Wyszukiwanie natychmiastowe"})
        EXPECT_TRUE(Contains(texts, polish)) << polish;
    EXPECT_EQ(Checks(player), "--");
}

TEST_F(LanguageTest, PolskiAndEnglishSwitchEveryShownTextAtOnce)
{
    Player player;
    player.show();
    WithTracks(player);
    Pick(player, "Polski");
    const std::vector<std::string> polish = ShownTexts(player);
    EXPECT_EQ(Checks(player), "ox");
    Pick(player, "English");
    const std::vector<std::string> english = ShownTexts(player);
    EXPECT_EQ(Checks(player), "xo");

    // The same texts in the same places, each in the other language.
    ASSERT_EQ(polish.size(), english.size());
    for (size_t i = 0; i < english.size(); ++i) {
        if (kSameInBoth.count(english[i]) == 0) {
            EXPECT_NE(polish[i], english[i]) << "not translated: " << english[i];
        }
    }
    for (const char* text : {"Pliki", "Język", "Wczytaj", "Zakończ", "Schowaj", "Pozycja", "Głośność",
                             "Playlisty", "Tytuł", "Wykonawca", "Długość", "Dodaj", "Dodaj folder", "Wstaw",
                             "Zmień nazwę", "Dodaj pliki", "Wstaw pliki", "Usuń", "Znajdź", "Pierwszy wiersz",
                             "Przenoszenie wiersza 1 przed wiersz 3",
                             "Przenoszenie zaznaczenia (wierszy: 2) przed wiersz 3", "Pliki muzyczne", "Wszystkie pliki"})
        EXPECT_TRUE(Contains(polish, text)) << text;
    for (const char* text : {"Files", "Exit", "Title", "Insert", "Delete", "Find", "First row", "Columns",
                             "Moving selection (2 rows) before row 3"})
        EXPECT_TRUE(Contains(english, text)) << text;

    // The toolkit's own texts (here a line editor's context menu) follow as well.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Undo");
    Pick(player, "Polski");
    EXPECT_NE(QCoreApplication::translate("QLineEdit", "&Undo"), "&Undo");

    // Back in Polish, everything is as it was the first time.
    EXPECT_EQ(ShownTexts(player), polish);
    // Prompts follow too: the selector's title.
    Bar menu;
    player.TrackAddMenu(menu);
    menu.Items().front().GetAction()();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Wybierz pliki muzyczne");
}

TEST_F(LanguageTest, ASwitchKeepsTheGridsRowsCursorSearchAndColumns)
{
    Player player;
    player.show();
    GridCtrl& tracks = WithTracks(player);
    tracks.SetCursor(2);
    tracks.Select(2);
    tracks.SetFindText("mm");  // only "Gamma" stays shown
    tracks.HideColumn(TRACK_ALBUM, true);
    tracks.ResizeColumn(TRACK_TITLE, 150);
    const String layout = tracks.StoreLayout();
    const String lists = player.ListGrid.StoreLayout();

    for (const char* language : {"Polski", "English"}) {
        Pick(player, language);
        EXPECT_EQ(tracks.GetCount(), 3) << language;
        EXPECT_EQ(tracks.GetCursor(), 2) << language;
        EXPECT_TRUE(tracks.IsSelected(2)) << language;
        EXPECT_EQ(tracks.GetFindText(), "mm") << language;
        EXPECT_FALSE(tracks.GetFound(0)) << language;
        EXPECT_TRUE(tracks.GetFound(2)) << language;
        // The rows the search hides stay hidden: "Gamma" is the first one shown.
        EXPECT_EQ(tracks.RowAtPoint(QPoint(20, GridCtrl::kCaptionHeight + 2)), 2) << language;
        EXPECT_EQ(tracks.StoreLayout(), layout) << language;
        EXPECT_EQ(player.ListGrid.StoreLayout(), lists) << language;
        EXPECT_EQ(&player.CurrentTrackList(), &tracks) << language;
    }
}

TEST_F(LanguageTest, TheChoiceIsKeptInTheDatabaseNotInTheConfiguration)
{
    std::string before, after;
    {
        Player player;
        WithTracks(player);
        before = Record(player);
        Pick(player, "Polski");
        after = Record(player);
    }
    EXPECT_EQ(Query("select KEY, VALUE from SETTINGS"), std::vector<String>{"LANGUAGE|PLPL"});
    EXPECT_EQ(after, before);
    EXPECT_EQ(LoadLanguageChoice(session), LanguageChoice::Polish);

    // A value this version does not know counts as no choice.
    Query("update SETTINGS set VALUE = 'XXYY'");
    EXPECT_EQ(LoadLanguageChoice(session), LanguageChoice::None);
}

TEST_F(LanguageTest, AConfigurationWrittenBeforeAnyChoiceLoadsWholeInEitherLanguage)
{
    // Written as this version wrote it before the language could change: through
    // Serialize, with no choice made.
    std::string stored;
    String layout;
    {
        Player player;
        Arrange(player);
        player.Files().ActiveDir("/songs");
        GridCtrl& tracks = player.CurrentTrackList();
        tracks.HideColumn(TRACK_ARTIST, true);
        tracks.ResizeColumn(TRACK_TITLE, 200);
        layout = tracks.StoreLayout();
        stored = WrapConfig(Record(player));
    }
    for (LanguageChoice choice : {LanguageChoice::Polish, LanguageChoice::English}) {
        SwitchLanguage(choice);
        Player loaded;
        loaded.Engine().SetVolume(80.0f);
        ASSERT_TRUE(LoadConfigData(stored, [&](Stream& s) { loaded.Serialize(s); }));
        EXPECT_EQ(loaded.Files().GetActiveDir(), "/songs");
        EXPECT_EQ(loaded.CurrentTrackList().StoreLayout(), layout);
        EXPECT_TRUE(loaded.CurrentTrackList().GetColumn(TRACK_ARTIST).IsHidden());
        ExpectArranged(loaded);
    }
}

TEST_F(LanguageTest, AChoiceTheDatabaseRefusesIsSaidAndStillMade)
{
    Query("drop table SETTINGS");
    Player player;
    Pick(player, "Polski");
    EXPECT_EQ(player.exit.text(), "Zakończ");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Nie udało się zapisać wyboru języka w bazie biblioteki; obowiązuje do zamknięcia programu.");
    EXPECT_EQ(LoadLanguageChoice(session), LanguageChoice::None);
}
