// Which playlist playback follows, and stopping when the followed tracks go.
#include "playback/PlaybackFixture.h"

namespace {

using PlaybackLists = PlaybackTest;

TEST_F(PlaybackLists, DoubleClickInAnotherPlaylistMakesItTheFollowedOne)
{
    GridCtrl& first = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    GridCtrl& second = Fill(AddPlaylist("Second"), {kToneOgg, kToneWav}, 200);
    player->Play();
    ASSERT_EQ(player->PlayingList, &first);

    SelectPlaylist(1);
    second.SetCursor(1);
    ASSERT_TRUE(second.WhenLeftDouble);
    second.WhenLeftDouble();
    EXPECT_EQ(player->PlayingList, &second);
    EXPECT_EQ(player->PlayingId, 201);
    EXPECT_EQ(HighlightedRows(first), 0);
    EXPECT_TRUE(IsHighlighted(second, 1));

    // Next and previous now move through the second playlist.
    player->PlayPrevious();
    EXPECT_EQ(player->PlayingId, 200);
    EXPECT_EQ(first.GetCursor(), 0);
}

TEST_F(PlaybackLists, EnterPlaysTheCursorTrackOfItsGrid)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    list.SetCursor(1);
    ASSERT_TRUE(list.WhenEnter);
    list.WhenEnter();
    EXPECT_TRUE(player->Started);
    EXPECT_EQ(player->PlayingId, 101);
}

TEST_F(PlaybackLists, AfterAStopPlayFollowsThePlayingListNotTheSelectedOne)
{
    GridCtrl& first = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    Fill(AddPlaylist("Second"), {kToneWav}, 200);
    first.SetCursor(1);
    player->Play();
    player->StopPlayback();

    SelectPlaylist(1);
    player->Play();
    EXPECT_EQ(player->PlayingList, &first);
    EXPECT_EQ(player->PlayingId, 101);
}

TEST_F(PlaybackLists, RemovingThePlayingPlaylistStopsFirst)
{
    Fill(player->CurrentTrackList(), {kTone});
    GridCtrl& second = Fill(AddPlaylist("Second"), {kToneOgg}, 200);
    SelectPlaylist(1);
    second.WhenLeftDouble();
    ASSERT_TRUE(player->Started);

    player->ListGrid.DoRemove();
    EXPECT_FALSE(player->Started);
    EXPECT_EQ(player->PlayingList, nullptr);
    EXPECT_FALSE(player->Engine().IsPlaying());
    EXPECT_TRUE(player->info.IsIdle());
    // The tick is gone with the track: nothing runs on a removed grid.
    QTest::qWait(50);
    EXPECT_FALSE(player->Started);
}

TEST_F(PlaybackLists, RemovingAnotherPlaylistKeepsPlaying)
{
    GridCtrl& first = Fill(player->CurrentTrackList(), {kTone});
    AddPlaylist("Second");
    player->Play();
    SelectPlaylist(1);
    player->ListGrid.DoRemove();
    EXPECT_TRUE(player->Started);
    EXPECT_EQ(player->PlayingList, &first);
}

TEST_F(PlaybackLists, RemovingThePlayingTrackStops)
{
    GridCtrl& list = Fill(player->CurrentTrackList(), {kTone, kToneOgg});
    player->Play();
    list.SetCursor(1);
    list.DoRemove();
    EXPECT_TRUE(player->Started) << "another track was removed";

    list.SetCursor(0);
    list.DoRemove();
    EXPECT_FALSE(player->Started);
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
