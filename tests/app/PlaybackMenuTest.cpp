// The Playback menu's loudness correction: one choice marked, kept for the next start.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/Language.h"
#include "app/ReplayGainChoice.h"
#include "app/PlayerFixture.h"
#include "ui/Bar.h"

namespace {

class PlaybackMenuTest : public PlayerTest {
protected:
    // "x" for the marked entry, "o" for the others; each entry must be one of a choice.
    static std::string Marks(Player& player)
    {
        Bar bar;
        player.PlaybackMenu(bar);
        std::string marks;
        for (const BarItem& item : bar.Items())
            marks += !item.IsRadio() ? '-' : item.IsChecked() ? 'x' : 'o';
        return marks;
    }

    // Picks the entry as the user does, through the menu's action.
    static void Pick(Player& player, int entry)
    {
        Bar bar;
        player.PlaybackMenu(bar);
        bar.Items()[static_cast<std::size_t>(entry)].GetAction()();
    }
};

}  // namespace

TEST_F(PlaybackMenuTest, TheChoiceIsMarkedAppliedAndKeptForTheNextStart)
{
    {
        Player player;
        Bar bar;
        player.PlaybackMenu(bar);
        std::vector<std::string> texts;
        for (const BarItem& item : bar.Items())
            texts.push_back(item.GetText());
        EXPECT_EQ(texts, (std::vector<std::string>{"ReplayGain: Off", "ReplayGain: Track", "ReplayGain: Album",
                                                    "ReplayGain: Automatic"}));
        EXPECT_EQ(Marks(player), "ooox") << "automatic until the user picks";
        EXPECT_EQ(player.playback.GetReplayGainMode(), ReplayGainMode::Automatic);

        Pick(player, 0);
        EXPECT_EQ(player.playback.GetReplayGainMode(), ReplayGainMode::Off);
        EXPECT_EQ(Marks(player), "xooo");
    }
    EXPECT_EQ(LoadReplayGainMode(session), ReplayGainMode::Off) << "off is kept, not taken for no choice";
    {
        Player next;
        EXPECT_EQ(next.playback.GetReplayGainMode(), ReplayGainMode::Off);
        EXPECT_EQ(Marks(next), "xooo");
        Pick(next, 1);
    }
    Player third;
    EXPECT_EQ(third.playback.GetReplayGainMode(), ReplayGainMode::Track);
    EXPECT_TRUE(prompts.empty());
}

TEST_F(PlaybackMenuTest, TheDropDownShowsTheEntriesAsOneChoice)
{
    Player player;
    QMenuBar* menuBar = player.GetMenuBar();
    ASSERT_TRUE(menuBar);
    ASSERT_GE(menuBar->actions().size(), 2);
    QMenu* menu = menuBar->actions()[1]->menu();
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 4);
    for (QAction* action : menu->actions()) {
        EXPECT_TRUE(action->isCheckable());
        ASSERT_TRUE(action->actionGroup());
        EXPECT_TRUE(action->actionGroup()->isExclusive());
        EXPECT_EQ(action->actionGroup(), menu->actions()[0]->actionGroup());
    }
    EXPECT_TRUE(menu->actions()[3]->isChecked());
}

TEST_F(PlaybackMenuTest, AStoredValueThisVersionDoesNotKnowMeansAutomaticAndARefusedSaveIsSaid)
{
    Query("insert into SETTINGS (KEY, VALUE) values ('REPLAYGAIN', 'louder')");
    EXPECT_EQ(LoadReplayGainMode(session), ReplayGainMode::Automatic);

    Query("drop table SETTINGS");
    Player player;
    EXPECT_EQ(player.playback.GetReplayGainMode(), ReplayGainMode::Automatic);
    SetLanguageChoice(LanguageChoice::Polish);
    Pick(player, 2);
    SetLanguageChoice(LanguageChoice::None);
    EXPECT_EQ(player.playback.GetReplayGainMode(), ReplayGainMode::Album) << "chosen for this run all the same";
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Nie udało się zapisać ustawienia ReplayGain w bazie biblioteki; obowiązuje do zamknięcia programu.");
}
