// Starting, pausing, stopping and moving between tracks of one playlist.
#include "playback/PlaybackFixture.h"
#include "ui/Images.h"

namespace {

using PlaybackControl = PlaybackTest;

TEST_F(PlaybackControl, PlayStartsTheCursorTrackOfTheSelectedPlaylist)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    list.SetCursor(1);
    player->Play();

    EXPECT_TRUE(player->Started);
    EXPECT_EQ(player->PlayingList, &list);
    EXPECT_EQ(player->PlayingId, 101);
    EXPECT_EQ(player->info.GetTitle(), "Track 101");
    EXPECT_TRUE(Shows(ImgPause()));
    EXPECT_TRUE(IsHighlighted(list, 1));
    EXPECT_EQ(HighlightedRows(list), 1);
    EXPECT_TRUE(WaitFor([&] { return player->info.GetTime() != "00:00:00" && player->position.Get() > 0; }));
}

TEST_F(PlaybackControl, PlayOnAnEmptyPlaylistDoesNothing)
{
    player->Play();
    EXPECT_FALSE(player->Started);
    EXPECT_TRUE(player->info.IsIdle());
    EXPECT_TRUE(prompts.empty());
    EXPECT_TRUE(Shows(ImgPlayForward()));
}

TEST_F(PlaybackControl, PauseKeepsTheDisplayInStepAndNeverAdvances)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    player->Play();
    player->Play();
    EXPECT_TRUE(player->Engine().IsPaused());
    EXPECT_TRUE(Shows(ImgPlayForward()));

    // A seek while paused shows in the time display although nothing plays.
    player->Engine().SetPositionPercent(50.0f);
    EXPECT_TRUE(WaitFor([&] { return player->info.GetTime() >= "00:00:45"; })) << player->info.GetTime();

    // Longer than the rest of the track: still on the first row, still paused.
    QTest::qWait(800);
    EXPECT_TRUE(player->Started);
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_EQ(player->PlayingId, 100);

    player->Play();
    EXPECT_FALSE(player->Engine().IsPaused());
    EXPECT_TRUE(Shows(ImgPause()));
}

TEST_F(PlaybackControl, EndOfTrackStartsTheRowBelowTheCursor)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg, kToneWav});
    player->Play();
    // The user moves the cursor while the first track plays: the row after it follows.
    list.SetCursor(1);
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return player->PlayingId == 102; }));
    EXPECT_TRUE(player->Started);
    EXPECT_EQ(list.GetCursor(), 2);
    EXPECT_TRUE(IsHighlighted(list, 2));
    EXPECT_EQ(HighlightedRows(list), 1);
    EXPECT_EQ(player->info.GetTitle(), "Track 102");
}

TEST_F(PlaybackControl, EndOfTheLastTrackKeepsTheDisplaysAndPlayRestartsIt)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone});
    player->Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !player->Started; }));

    EXPECT_EQ(player->info.GetTitle(), "Track 100");
    EXPECT_FALSE(player->info.IsIdle());
    EXPECT_NE(player->info.GetTime(), "00:00:00");
    EXPECT_GT(player->position.Get(), 80.0f);
    EXPECT_TRUE(IsHighlighted(list, 0));
    EXPECT_TRUE(Shows(ImgPlayForward()));
    EXPECT_FALSE(player->Engine().IsPlaying());

    player->Play();
    EXPECT_TRUE(player->Started);
    EXPECT_LT(player->Engine().GetPositionMs(), 500u);
    EXPECT_EQ(HighlightedRows(list), 1);
}

TEST_F(PlaybackControl, PlayAfterTheEndOnAnotherRowMovesTheHighlight)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    list.SetCursor(1);
    player->Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !player->Started; }));

    list.SetCursor(0);
    player->Play();
    EXPECT_EQ(player->PlayingId, 100);
    EXPECT_TRUE(IsHighlighted(list, 0));
    EXPECT_FALSE(IsHighlighted(list, 1));
}

TEST_F(PlaybackControl, NextOnTheLastRowAndPreviousOnTheFirstRestartTheTrack)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    player->Play();
    player->PlayNext();
    EXPECT_EQ(player->PlayingId, 101);

    player->Engine().SetPositionPercent(60.0f);
    player->PlayNext();
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(player->PlayingId, 101);
    EXPECT_LT(player->Engine().GetPositionMs(), 300u);

    player->PlayPrevious();
    EXPECT_EQ(player->PlayingId, 100);
    player->Engine().SetPositionPercent(60.0f);
    player->PlayPrevious();
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_EQ(player->PlayingId, 100);
    EXPECT_LT(player->Engine().GetPositionMs(), 300u);
    EXPECT_EQ(HighlightedRows(list), 1);
}

TEST_F(PlaybackControl, WithoutACursorRowNextTakesTheFirstRowAndPreviousPlaysNothing)
{
    GridCtrl& list = player->CurrentTrackList();
    list.Add({Value(100), Value(kTone), Value("Track 100"), Value(), Value(), Value()});
    ASSERT_FALSE(list.IsCursor());

    // The grid's previous-row step leaves an empty cursor empty.
    player->PlayPrevious();
    EXPECT_FALSE(list.IsCursor());
    EXPECT_FALSE(player->Started);

    // Its next-row step puts the cursor on the first row, which then plays.
    player->PlayNext();
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_TRUE(player->Started);
}

TEST_F(PlaybackControl, StopRemovesTheHighlightFromTheMovedRow)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg, kToneWav});
    player->Play();
    list.MoveRowDown();
    list.MoveRowDown();
    ASSERT_EQ(list.Get(2, TRACK_ID).ToInt(), 100);
    ASSERT_TRUE(IsHighlighted(list, 2));

    player->StopPlayback();
    EXPECT_EQ(HighlightedRows(list), 0);
    EXPECT_EQ(list.GetRowStyle(2), nullptr);
    EXPECT_FALSE(player->Started);
    EXPECT_TRUE(player->info.IsIdle());
    EXPECT_EQ(player->info.GetTitle(), "Quillon Player");
    EXPECT_EQ(player->position.Get(), 0.0f);
    EXPECT_FALSE(player->Engine().IsPlaying());
    // Stopping leaves the list and the track to follow as they were.
    EXPECT_EQ(player->PlayingList, &list);
    EXPECT_EQ(player->PlayingId, 100);
}

TEST_F(PlaybackControl, AFileThatCannotBePlayedStopsTheAdvanceOnItsRow)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, dir.File("missing.mp3"), kToneOgg});
    player->Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !prompts.empty(); }));

    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].rfind("FMOD error! (", 0), 0u);
    EXPECT_FALSE(player->Started);
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(HighlightedRows(list), 0);
    EXPECT_TRUE(player->info.IsIdle());
    // Idle: nothing advances to the third row later on.
    QTest::qWait(100);
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(prompts.size(), 1u);
}

}  // namespace
