// The next track is queued on the output before the playing one ends, and the
// window advances when it is heard.
#include "playback/AudioEngine.h"
#include "playback/PlaybackFixture.h"
#include "ui/GridCtrl.h"

#include <chrono>
#include <thread>

namespace {

class GaplessPlayback : public PlaybackTest {
protected:
    // Two halves of one tone, shorter than the time before the end at which the next track is queued.
    static constexpr const char* kFirstHalf = QP_FIXTURES "/gapless-a.wav";
    static constexpr const char* kSecondHalf = QP_FIXTURES "/gapless-b.wav";

    bool QueuedBecomes(const std::string& file)
    {
        return WaitFor([&] { return Engine().QueuedFile() == file; }, 2000);
    }
};

}  // namespace

TEST_F(GaplessPlayback, TheWindowShowsTheNextTrackWhenItIsHeard)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kFirstHalf, kSecondHalf});
    Playback().Play();
    ASSERT_TRUE(QueuedBecomes(kSecondHalf));
    EXPECT_EQ(list.GetCursor(), 0) << "queueing moves nothing in the window";
    EXPECT_EQ(parts->info.GetTitle(), "Track 100");

    String lastTimeOfTheFirst;
    unsigned heardAtSwitch = 0;
    ASSERT_TRUE(WaitFor([&] {
        if (Playback().PlayingId() != 101) {
            lastTimeOfTheFirst = parts->info.GetTime();
            return false;
        }
        heardAtSwitch = Engine().GetPositionMs();
        return true;
    }));
    // The first track was shown to its end, the second from its first milliseconds on.
    EXPECT_GE(lastTimeOfTheFirst, "00:00:35");
    EXPECT_LT(heardAtSwitch, 250u);
    EXPECT_EQ(parts->info.GetTitle(), "Track 101");
    EXPECT_FALSE(parts->info.IsIdle());
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_TRUE(IsHighlighted(list, 1));
    EXPECT_EQ(HighlightedRows(list), 1);
    EXPECT_TRUE(Shows(ImgPause()) || Shows(ImgPauseFlash()));
    EXPECT_TRUE(Engine().IsPlaying());
    // The last row has nothing to queue, and at its end the list finishes as before.
    EXPECT_TRUE(Engine().QueuedFile().empty());
    ASSERT_TRUE(WaitFor([&] { return !Playback().Started(); }));
    EXPECT_EQ(parts->info.GetTitle(), "Track 101");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(GaplessPlayback, TheQueueFollowsACursorMoveAReorderAndAnEdit)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kFirstHalf, kSecondHalf, kToneOgg});
    Playback().Play();
    ASSERT_TRUE(QueuedBecomes(kFirstHalf));

    list.SetCursor(1);
    ASSERT_TRUE(QueuedBecomes(kSecondHalf)) << "the row after the moved cursor";

    // The row below the cursor moves away: the one that takes its place is queued.
    list.Select(3);
    list.MoveRowUp();
    ASSERT_EQ(list.Get(2, TRACK_FILE).ToString(), kToneOgg);
    ASSERT_TRUE(QueuedBecomes(kToneOgg));

    list.Set(2, TRACK_FILE, Value(kSecondHalf));
    ASSERT_TRUE(QueuedBecomes(kSecondHalf)) << "the edited file of the same row";

    // The track heard next is the queued one, on the row the advance moves to.
    ASSERT_TRUE(WaitFor([&] { return Playback().PlayingId() != 100; }));
    EXPECT_EQ(Playback().PlayingId(), 103);
    EXPECT_EQ(list.GetCursor(), 2);
    EXPECT_TRUE(IsHighlighted(list, 2));
    EXPECT_EQ(HighlightedRows(list), 1);
}

TEST_F(GaplessPlayback, NothingIsQueuedBelowTheLastRowAfterAStopOrForAFileThatCannotBeOpened)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kTone, kFirstHalf, dir.File("missing.wav")});
    Playback().Play();
    ASSERT_TRUE(QueuedBecomes(kFirstHalf));
    list.SetCursor(2);
    ASSERT_TRUE(QueuedBecomes(""));
    list.SetCursor(0);
    ASSERT_TRUE(QueuedBecomes(kFirstHalf));
    Playback().StopPlayback();
    EXPECT_TRUE(Engine().QueuedFile().empty());

    // A missing next file is not reported ahead of time: the advance reports it once, on its row.
    list.SetCursor(1);
    Playback().Play();
    QTest::qWait(100);
    EXPECT_TRUE(Engine().QueuedFile().empty());
    EXPECT_TRUE(prompts.empty());
    ASSERT_TRUE(WaitFor([&] { return !prompts.empty(); }));
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(list.GetCursor(), 2);
    EXPECT_FALSE(Playback().Started());
}

// The output goes on to the queued track on its own; a command given before the
// window has caught up acts on the track that is heard, not on the finished one.
TEST_F(GaplessPlayback, APauseRightAfterTheSwitchPausesTheNewTrack)
{
    GridCtrl& list = Fill(CurrentTrackList(), {kFirstHalf, kSecondHalf, kTone});
    Playback().Play();
    ASSERT_TRUE(QueuedBecomes(kSecondHalf));
    // Without the event loop running, nothing in the window has seen the switch yet.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Engine().IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(Playback().PlayingId(), 100);

    Playback().Play();
    EXPECT_EQ(Playback().PlayingId(), 101);
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_TRUE(Engine().IsPlaying());
    EXPECT_TRUE(Engine().IsPaused());
    EXPECT_TRUE(Shows(ImgPlayForward()));
    // Nor does the end notice of the switch, handled later, move anything.
    QTest::qWait(600);
    EXPECT_EQ(Playback().PlayingId(), 101);
    EXPECT_TRUE(Engine().IsPaused());
    EXPECT_EQ(HighlightedRows(list), 1);
    EXPECT_TRUE(IsHighlighted(list, 1));
}
