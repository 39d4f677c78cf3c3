// The blinking play button and the position bar's seek.
#include <QTest>

#include "playback/PlaybackFixture.h"
#include "ui/Images.h"

namespace {

using PlaybackControls = PlaybackTest;

TEST_F(PlaybackControls, BlinkAlternatesTheFacesOfTheCurrentState)
{
    Fill(CurrentTrackList(), {QP_FIXTURES "/long.ogg"});
    Playback().Blink();
    EXPECT_TRUE(Shows(ImgPlayForward())) << "nothing started: the button stays";
    EXPECT_EQ(blinkPhase, 0);

    Playback().Play();
    Playback().Blink();
    EXPECT_TRUE(Shows(ImgPauseFlash()));
    Playback().Blink();
    EXPECT_TRUE(Shows(ImgPause()));

    Playback().Play();  // pause
    Playback().Blink();
    EXPECT_TRUE(Shows(ImgPlayForwardFlash()));
    Playback().Blink();
    EXPECT_TRUE(Shows(ImgPlayForward()));

    // The blink callback runs once a second by itself.
    EXPECT_TRUE(WaitFor([&] { return Shows(ImgPlayForwardFlash()); }, 2500));
}

TEST_F(PlaybackControls, DraggingThePositionBarSeeksOnReleaseOnly)
{
    Fill(CurrentTrackList(), {QP_FIXTURES "/long.ogg"});
    parts->show();
    parts->resize(800, 500);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parts.get()));
    Playback().Play();

    ProgressButton& bar = parts->position;
    const int y = bar.height() / 2;
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() * 3 / 4, y));
    QTest::qWait(100);
    // The tick leaves the bar to the user while the button is held.
    EXPECT_NEAR(bar.Get(), 75.0f, 1.0f);
    EXPECT_LT(Engine().GetPositionPercent(), 50.0);

    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() * 3 / 4, y));
    EXPECT_NEAR(Engine().GetPositionPercent(), 75.0, 3.0);
}

}  // namespace
