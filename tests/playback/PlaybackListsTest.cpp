// Which playlist playback follows, and stopping when the followed tracks go.
#include "playback/PlaybackFixture.h"

namespace {

using PlaybackLists = PlaybackTest;

TEST_F(PlaybackLists, DoubleClickInAnotherPlaylistMakesItTheFollowedOne)
{
    GridCtrl& first = Fill(CurrentTrackList(), {kTone, kToneOgg});
    GridCtrl& second = Fill(AddPlaylist("Second"), {kToneOgg, kToneWav}, 200);
    Playback().Play();
    ASSERT_EQ(Playback().PlayingList(), &first);

    SelectPlaylist(1);
    second.SetCursor(1);
    ASSERT_TRUE(second.WhenLeftDouble);
    second.WhenLeftDouble();
    EXPECT_EQ(Playback().PlayingList(), &second);
    EXPECT_EQ(Playback().PlayingId(), 201);
    EXPECT_EQ(HighlightedRows(first), 0);
    EXPECT_TRUE(IsHighlighted(second, 1));

    // Next and previous now move through the second playlist.
    Playback().PlayPrevious();
    EXPECT_EQ(Playback().PlayingId(), 200);
    EXPECT_EQ(first.GetCursor(), 0);
}

TEST_F(PlaybackLists, EnterPlaysTheCursorTrackOfItsGrid)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg});
    list.SetCursor(1);
    ASSERT_TRUE(list.WhenEnter);
    list.WhenEnter();
    EXPECT_TRUE(Playback().Started());
    EXPECT_EQ(Playback().PlayingId(), 101);
}

TEST_F(PlaybackLists, AfterAStopPlayFollowsThePlayingListNotTheSelectedOne)
{
    GridCtrl& first = Fill(CurrentTrackList(), {kTone, kToneOgg});
    Fill(AddPlaylist("Second"), {kToneWav}, 200);
    first.SetCursor(1);
    Playback().Play();
    Playback().StopPlayback();

    SelectPlaylist(1);
    Playback().Play();
    EXPECT_EQ(Playback().PlayingList(), &first);
    EXPECT_EQ(Playback().PlayingId(), 101);
}

TEST_F(PlaybackLists, RemovingThePlayingPlaylistStopsFirst)
{
    Fill(CurrentTrackList(), {kTone});
    GridCtrl& second = Fill(AddPlaylist("Second"), {kToneOgg}, 200);
    SelectPlaylist(1);
    second.WhenLeftDouble();
    ASSERT_TRUE(Playback().Started());

    parts->library.ListGrid.DoRemove();
    EXPECT_FALSE(Playback().Started());
    EXPECT_EQ(Playback().PlayingList(), nullptr);
    EXPECT_FALSE(Engine().IsPlaying());
    EXPECT_TRUE(parts->info.IsIdle());
    // The tick is gone with the track: nothing runs on a removed grid.
    QTest::qWait(50);
    EXPECT_FALSE(Playback().Started());
}

TEST_F(PlaybackLists, RemovingAnotherPlaylistKeepsPlaying)
{
    GridCtrl& first = Fill(CurrentTrackList(), {kTone});
    AddPlaylist("Second");
    Playback().Play();
    SelectPlaylist(1);
    parts->library.ListGrid.DoRemove();
    EXPECT_TRUE(Playback().Started());
    EXPECT_EQ(Playback().PlayingList(), &first);
}

TEST_F(PlaybackLists, RemovingThePlayingTrackStops)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kToneOgg});
    Playback().Play();
    list.SetCursor(1);
    list.DoRemove();
    EXPECT_TRUE(Playback().Started()) << "another track was removed";

    list.SetCursor(0);
    list.DoRemove();
    EXPECT_FALSE(Playback().Started());
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
