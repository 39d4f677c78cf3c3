// While nobody can see the window, playback sets no display and stops polling;
// the engine's end notice still advances the list, and showing the window
// brings the displays up to date at once.
#include "playback/AudioEngine.h"
#include "playback/ConvMs.h"
#include "playback/PlaybackFixture.h"
#include "ui/GridCtrl.h"
#include "ui/TimeCallback.h"

namespace {

using UnseenWindow = PlaybackTest;

TEST_F(UnseenWindow, EndsAreHandledWithoutPollingAndShowingCatchesUp)
{
    static constexpr const char* kShort = QP_FIXTURES "/gapless-a.wav";
    GridCtrl& list = Fill(CurrentTrackList(), {kShort, kTone, kShort});
    Playback().SetWindowShown(false);
    Playback().Play();
    ASSERT_TRUE(ExistsTimeCallback(parts.get(), TICK_CALLBACK)) << "the tick still runs, seldom";
    // Only the end notice can advance the list now.
    KillTimeCallback(parts.get(), TICK_CALLBACK);
    ASSERT_TRUE(WaitFor([&] { return Playback().PlayingId() == 101; }));
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(parts->info.GetTitle(), "Track 101");
    EXPECT_TRUE(IsHighlighted(list, 1));
    EXPECT_EQ(HighlightedRows(list), 1);

    // Half a second into the second track nothing has set the time or the bar.
    ASSERT_TRUE(WaitFor([&] { return Engine().GetPositionMs() >= 500; }));
    EXPECT_EQ(parts->info.GetTime(), "00:00:00");
    EXPECT_EQ(parts->position.Get(), 0.0f);

    // Seen again: up to date at once, without waiting for a tick.
    Playback().SetWindowShown(true);
    const unsigned ms = Engine().GetPositionMs();
    EXPECT_GE(parts->info.GetTime(), "00:00:50");
    EXPECT_LE(parts->info.GetTime(), FormatMs(static_cast<int>(ms)));
    EXPECT_GT(parts->position.Get(), 40.0f);
    ASSERT_TRUE(WaitFor([&] { return parts->info.GetTime() > FormatMs(static_cast<int>(ms)); }))
        << "the tick runs at its pace again";

    // Unseen at the end of the list: it finishes there, keeping what was shown last.
    Playback().SetWindowShown(false);
    const String lastShown = parts->info.GetTime();
    ASSERT_TRUE(WaitFor([&] { return Playback().PlayingId() == 102; }));
    KillTimeCallback(parts.get(), TICK_CALLBACK);
    ASSERT_TRUE(WaitFor([&] { return !Playback().Started(); }));
    EXPECT_EQ(list.GetCursor(), 2);
    EXPECT_EQ(parts->info.GetTitle(), "Track 102");
    EXPECT_EQ(parts->info.GetTime(), lastShown);
    EXPECT_TRUE(IsHighlighted(list, 2));
    EXPECT_TRUE(Shows(ImgPlayForward()));
    EXPECT_TRUE(prompts.empty());
}

}  // namespace
