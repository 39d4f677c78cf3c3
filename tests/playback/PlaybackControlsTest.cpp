// The blinking play button, the position bar's seek and the volume bar.
#include <QTest>

#include "app/Config.h"
#include "playback/PlaybackFixture.h"
#include "ui/Images.h"

namespace {

using PlaybackControls = PlaybackTest;

TEST_F(PlaybackControls, BlinkAlternatesTheFacesOfTheCurrentState)
{
    Fill(player->CurrentTrackList(), {QP_FIXTURES "/long.ogg"});
    player->Blink();
    EXPECT_TRUE(Shows(ImgPlayForward())) << "nothing started: the button stays";
    EXPECT_EQ(blinkPhase, 0);

    player->Play();
    player->Blink();
    EXPECT_TRUE(Shows(ImgPauseFlash()));
    player->Blink();
    EXPECT_TRUE(Shows(ImgPause()));

    player->Play();  // pause
    player->Blink();
    EXPECT_TRUE(Shows(ImgPlayForwardFlash()));
    player->Blink();
    EXPECT_TRUE(Shows(ImgPlayForward()));

    // The blink callback runs once a second by itself.
    EXPECT_TRUE(WaitFor([&] { return Shows(ImgPlayForwardFlash()); }, 2500));
}

TEST_F(PlaybackControls, DraggingThePositionBarSeeksOnReleaseOnly)
{
    Fill(player->CurrentTrackList(), {QP_FIXTURES "/long.ogg"});
    player->show();
    player->resize(800, 500);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(player.get()));
    player->Play();

    ProgressButton& bar = player->position;
    const int y = bar.height() / 2;
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() * 3 / 4, y));
    QTest::qWait(100);
    // The tick leaves the bar to the user while the button is held.
    EXPECT_NEAR(bar.Get(), 75.0f, 1.0f);
    EXPECT_LT(player->Engine().GetPositionPercent(), 50.0);

    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() * 3 / 4, y));
    EXPECT_NEAR(player->Engine().GetPositionPercent(), 75.0, 3.0);
}

TEST_F(PlaybackControls, AVolumeSetInOneRunIsThereInTheNext)
{
    const std::string config = dir.File("player.cfg");
    player->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(player.get()));
    ProgressButton& bar = player->volume;
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() / 2));
    // The bar acts on the press and on every move, before the release.
    EXPECT_NEAR(player->Engine().GetVolume(), 50.0f, 1.0f);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() / 2));
    const float chosen = player->Engine().GetVolume();
    ASSERT_TRUE(StoreConfig(config, [&](Stream& s) { player->Serialize(s); }));

    player.reset();
    player = std::make_unique<Player>();
    EXPECT_FLOAT_EQ(player->Engine().GetVolume(), 100.0f);
    ASSERT_TRUE(LoadConfig(config, [&](Stream& s) { player->Serialize(s); }));
    EXPECT_FLOAT_EQ(player->Engine().GetVolume(), chosen);
    EXPECT_FLOAT_EQ(player->volume.Get(), chosen);
}

}  // namespace
