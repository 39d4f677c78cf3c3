// Starting, pausing, stopping and moving between tracks of one playlist.
#include "playback/PlaybackFixture.h"
#include "ui/Images.h"

namespace {

using PlaybackControl = PlaybackTest;

TEST_F(PlaybackControl, PlayStartsTheCursorTrackOfTheSelectedPlaylist)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg});
    list.SetCursor(1);
    Playback().Play();

    EXPECT_TRUE(Playback().Started());
    EXPECT_EQ(Playback().PlayingList(), &list);
    EXPECT_EQ(Playback().PlayingId(), 101);
    EXPECT_EQ(parts->info.GetTitle(), "Track 101");
    EXPECT_TRUE(Shows(ImgPause()));
    EXPECT_TRUE(IsHighlighted(list, 1));
    EXPECT_EQ(HighlightedRows(list), 1);
    EXPECT_TRUE(WaitFor([&] { return parts->info.GetTime() != "00:00:00" && parts->position.Get() > 0; }));
}

TEST_F(PlaybackControl, PlayOnAnEmptyPlaylistDoesNothing)
{
    Playback().Play();
    EXPECT_FALSE(Playback().Started());
    EXPECT_TRUE(parts->info.IsIdle());
    EXPECT_TRUE(prompts.empty());
    EXPECT_TRUE(Shows(ImgPlayForward()));
}

TEST_F(PlaybackControl, PauseKeepsTheDisplayInStepAndNeverAdvances)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg});
    Playback().Play();
    Playback().Play();
    EXPECT_TRUE(Engine().IsPaused());
    EXPECT_TRUE(Shows(ImgPlayForward()));

    // A seek while paused shows in the time display although nothing plays.
    Engine().SetPositionPercent(50.0f);
    EXPECT_TRUE(WaitFor([&] { return parts->info.GetTime() >= "00:00:45"; })) << parts->info.GetTime();

    // Longer than the rest of the track: still on the first row, still paused.
    QTest::qWait(800);
    EXPECT_TRUE(Playback().Started());
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_EQ(Playback().PlayingId(), 100);

    Playback().Play();
    EXPECT_FALSE(Engine().IsPaused());
    EXPECT_TRUE(Shows(ImgPause()));
}

TEST_F(PlaybackControl, EndOfTrackStartsTheRowBelowTheCursor)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg, kToneWav});
    Playback().Play();
    // The user moves the cursor while the first track plays: the row after it follows.
    list.SetCursor(1);
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return Playback().PlayingId() == 102; }));
    EXPECT_TRUE(Playback().Started());
    EXPECT_EQ(list.GetCursor(), 2);
    EXPECT_TRUE(IsHighlighted(list, 2));
    EXPECT_EQ(HighlightedRows(list), 1);
    EXPECT_EQ(parts->info.GetTitle(), "Track 102");
}

TEST_F(PlaybackControl, EndOfTheLastTrackKeepsTheDisplaysAndPlayRestartsIt)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone});
    Playback().Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !Playback().Started(); }));

    EXPECT_EQ(parts->info.GetTitle(), "Track 100");
    EXPECT_FALSE(parts->info.IsIdle());
    EXPECT_NE(parts->info.GetTime(), "00:00:00");
    EXPECT_GT(parts->position.Get(), 80.0f);
    EXPECT_TRUE(IsHighlighted(list, 0));
    EXPECT_TRUE(Shows(ImgPlayForward()));
    EXPECT_FALSE(Engine().IsPlaying());

    Playback().Play();
    EXPECT_TRUE(Playback().Started());
    EXPECT_LT(Engine().GetPositionMs(), 500u);
    EXPECT_EQ(HighlightedRows(list), 1);
}

TEST_F(PlaybackControl, EndOfTheLastShownRowStopsAsAtTheEndOfTheList)
{
    GridCtrl& list = CurrentTrackList();
    list.Add({Value(100), Value(kTone), Value("One"), Value(), Value(), Value()});
    list.Add({Value(101), Value(kToneOgg), Value("t2"), Value(), Value(), Value()});
    list.Add({Value(102), Value(kToneWav), Value("Three"), Value(), Value(), Value()});
    list.SetCursor(0);
    // The search hides the two rows below the first one; they are still stored.
    list.SetFindText("One");
    ASSERT_EQ(list.GetCount(), 3);
    ASSERT_TRUE(list.GetFound(0));
    ASSERT_FALSE(list.GetFound(1) || list.GetFound(2));

    Playback().Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !Playback().Started(); }));
    // Stopped, not started again: the displays and the highlight stay as they were.
    QTest::qWait(300);
    EXPECT_FALSE(Playback().Started());
    EXPECT_FALSE(Engine().IsPlaying());
    EXPECT_EQ(Playback().PlayingId(), 100);
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_EQ(parts->info.GetTitle(), "One");
    EXPECT_FALSE(parts->info.IsIdle());
    EXPECT_TRUE(IsHighlighted(list, 0));
    EXPECT_TRUE(Shows(ImgPlayForward()));

    // Next on the last shown row starts it again, as on the last row of the list.
    Playback().PlayNext();
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_EQ(Playback().PlayingId(), 100);
}

TEST_F(PlaybackControl, PlayAfterTheEndOnAnotherRowMovesTheHighlight)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg});
    list.SetCursor(1);
    Playback().Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !Playback().Started(); }));

    list.SetCursor(0);
    Playback().Play();
    EXPECT_EQ(Playback().PlayingId(), 100);
    EXPECT_TRUE(IsHighlighted(list, 0));
    EXPECT_FALSE(IsHighlighted(list, 1));
}

TEST_F(PlaybackControl, NextOnTheLastRowAndPreviousOnTheFirstRestartTheTrack)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg});
    Playback().Play();
    Playback().PlayNext();
    EXPECT_EQ(Playback().PlayingId(), 101);

    Engine().SetPositionPercent(60.0f);
    Playback().PlayNext();
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(Playback().PlayingId(), 101);
    EXPECT_LT(Engine().GetPositionMs(), 300u);

    Playback().PlayPrevious();
    EXPECT_EQ(Playback().PlayingId(), 100);
    Engine().SetPositionPercent(60.0f);
    Playback().PlayPrevious();
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_EQ(Playback().PlayingId(), 100);
    EXPECT_LT(Engine().GetPositionMs(), 300u);
    EXPECT_EQ(HighlightedRows(list), 1);
}

TEST_F(PlaybackControl, WithoutACursorRowNextTakesTheFirstRowAndPreviousPlaysNothing)
{
    GridCtrl& list = CurrentTrackList();
    list.Add({Value(100), Value(kTone), Value("Track 100"), Value(), Value(), Value()});
    ASSERT_FALSE(list.IsCursor());

    // The grid's previous-row step leaves an empty cursor empty.
    Playback().PlayPrevious();
    EXPECT_FALSE(list.IsCursor());
    EXPECT_FALSE(Playback().Started());

    // Its next-row step puts the cursor on the first row, which then plays.
    Playback().PlayNext();
    EXPECT_EQ(list.GetCursor(), 0);
    EXPECT_TRUE(Playback().Started());
}

TEST_F(PlaybackControl, StopRemovesTheHighlightFromTheMovedRow)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg, kToneWav});
    Playback().Play();
    list.MoveRowDown();
    list.MoveRowDown();
    ASSERT_EQ(list.Get(2, TRACK_ID).ToInt(), 100);
    ASSERT_TRUE(IsHighlighted(list, 2));

    Playback().StopPlayback();
    EXPECT_EQ(HighlightedRows(list), 0);
    EXPECT_EQ(list.GetRowStyle(2), nullptr);
    EXPECT_FALSE(Playback().Started());
    EXPECT_TRUE(parts->info.IsIdle());
    EXPECT_EQ(parts->info.GetTitle(), "Quillon Player");
    EXPECT_EQ(parts->position.Get(), 0.0f);
    EXPECT_FALSE(Engine().IsPlaying());
    // Stopping leaves the list and the track to follow as they were.
    EXPECT_EQ(Playback().PlayingList(), &list);
    EXPECT_EQ(Playback().PlayingId(), 100);
}

TEST_F(PlaybackControl, AFileThatCannotBePlayedStopsTheAdvanceOnItsRow)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, dir.File("missing.mp3"), kToneOgg});
    Playback().Play();
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !prompts.empty(); }));

    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Cannot play \"missing.mp3\": file not found. (1)");
    EXPECT_FALSE(Playback().Started());
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(HighlightedRows(list), 0);
    EXPECT_TRUE(parts->info.IsIdle());
    // Idle: nothing advances to the third row later on.
    QTest::qWait(100);
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(prompts.size(), 1u);
}

}  // namespace
