#include <QApplication>
#include <QScreen>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

#include "playback/PixelProbe.h"
#include "playback/StreamInfo.h"

namespace {

const QColor kBlack(0, 0, 0);
const QColor kPale(245, 245, 255);
const QColor kTimeBox(200, 200, 240);
constexpr int kW = 320;
constexpr int kH = 34;

QFont PanelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(18);
    return font;
}

int TextWidth(const char* text)
{
    return QFontMetrics(PanelFont()).horizontalAdvance(QString::fromUtf8(text));
}

struct Panel {
    Panel() { info.resize(kW, kH); }
    QImage Image() { return Render(info); }
    StreamInfo info;
};

class CountingPanel : public StreamInfo {
public:
    int paints = 0;

protected:
    void Paint(QPainter& painter) override
    {
        ++paints;
        StreamInfo::Paint(painter);
    }
};


}  // namespace

TEST(StreamInfo, ArialResolvesToASansSerifFace)
{
    const QFontInfo info(PanelFont());
    EXPECT_EQ(info.pixelSize(), 18);
    EXPECT_FALSE(info.bold());
    // The face really drawn: Arial itself, or the metric-compatible sans-serif
    // face the font configuration puts in its place; never a serif or fixed one.
    const QString family = info.family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    EXPECT_FALSE(info.fixedPitch());
}

TEST(StreamInfo, IdleShowsTheCentredProgramName)
{
    Panel p;
    EXPECT_TRUE(p.info.IsIdle());
    EXPECT_EQ(p.info.GetTitle(), "Quillon Player");
    EXPECT_EQ(p.info.GetTime(), "00:00:00");

    const QImage image = p.Image();
    ExpectBlackFrame(image);
    EXPECT_EQ(PixelAt(image, 1, 1), kPale);
    EXPECT_EQ(PixelAt(image, kW - 2, kH - 2), kPale);
    EXPECT_EQ(PixelAt(image, kW - 20, kH / 2), kPale);  // no time box

    const QRect ink = InkBounds(image, QRect(1, 1, kW - 2, kH - 2));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), kW / 2, 3);
    EXPECT_NEAR(ink.width(), TextWidth("Quillon Player"), 3);
}

TEST(StreamInfo, PlayingShowsTitleAndTimeInTwoFields)
{
    Panel p;
    p.info.SetTitle("Song");
    p.info.SetTime("01:02:03");
    EXPECT_FALSE(p.info.IsIdle());

    const int t2 = TextWidth("01:02:03");
    const int s = kW - t2 - 10;
    const QImage image = p.Image();
    ExpectBlackFrame(image);
    for (int y = 1; y < kH - 1; ++y)
        EXPECT_EQ(PixelAt(image, s, y), kBlack) << "separator row " << y;
    EXPECT_EQ(PixelAt(image, s - 1, 1), kPale);
    EXPECT_EQ(PixelAt(image, 1, kH - 2), kPale);
    EXPECT_EQ(PixelAt(image, s + 1, 1), kTimeBox);
    EXPECT_EQ(PixelAt(image, kW - 2, kH - 2), kTimeBox);

    // The title starts at the left margin; the time ends 5 pixels from the edge.
    const QRect title = InkBounds(image, QRect(1, 1, s - 1, kH - 2));
    ASSERT_FALSE(title.isEmpty());
    EXPECT_NEAR(title.left(), 5, 2);
    EXPECT_NEAR(title.width(), TextWidth("Song"), 3);
    const QRect time = InkBounds(image, QRect(s + 1, 1, kW - s - 2, kH - 2));
    ASSERT_FALSE(time.isEmpty());
    EXPECT_NEAR(time.left(), kW - t2 - 5, 2);
    EXPECT_NEAR(time.right(), kW - 6, 2);
}

TEST(StreamInfo, EitherSetterAloneLeavesIdle)
{
    Panel p;
    p.info.SetTime("00:00:01");
    EXPECT_FALSE(p.info.IsIdle());
    EXPECT_EQ(p.info.GetTitle(), "Quillon Player");
}

TEST(StreamInfo, LongTitleIsCutAtTheClipAndTheTimeBoxKeepsItsWidth)
{
    Panel p;
    p.info.SetTitle(std::string(80, 'W'));
    p.info.SetTime("12:34:56");

    const int s = kW - TextWidth("12:34:56") - 10;
    const QImage image = p.Image();
    const QRect title = InkBounds(image, QRect(1, 1, s - 1, kH - 2));
    ASSERT_FALSE(title.isEmpty());
    EXPECT_LE(title.right(), s - 6);
    EXPECT_GE(title.right(), s - 12);  // drawn right up to the clip, not shortened
    for (int x = s - 5; x < s; ++x)
        EXPECT_EQ(PixelAt(image, x, kH / 2), kPale) << "column " << x;
    EXPECT_EQ(PixelAt(image, s, kH / 2), kBlack);
    EXPECT_EQ(PixelAt(image, s + 1, 1), kTimeBox);
}

TEST(StreamInfo, ClearReturnsToIdleAndKeepsTheTime)
{
    Panel p;
    const QImage idle = p.Image();
    p.info.SetTitle("Song");
    p.info.SetTime("00:10:00");
    p.info.Clear();
    EXPECT_TRUE(p.info.IsIdle());
    EXPECT_EQ(p.info.GetTitle(), "Quillon Player");
    EXPECT_EQ(p.info.GetTime(), "00:10:00");
    EXPECT_EQ(p.Image(), idle);
}

TEST(StreamInfo, TinyPanelDrawsWithoutFault)
{
    for (QSize size : {QSize(1, 1), QSize(4, 3), QSize(30, 10)}) {
        SCOPED_TRACE(size.width());
        StreamInfo info;
        info.resize(size);
        const QImage idle = Render(info);
        ASSERT_EQ(idle.size(), size);
        ExpectBlackFrame(idle);
        info.SetTitle("A title wider than the panel");
        info.SetTime("00:00:00");
        const QImage playing = Render(info);
        ASSERT_EQ(playing.size(), size);
        // Whatever does not fit is cut: the frame stays whole.
        ExpectBlackFrame(playing);
    }
}

// While a track plays, each time update repaints the time box alone; what
// reaches the screen must still be exactly what a full paint draws.
TEST(StreamInfo, TimeUpdatesOnScreenMatchAFullPaint)
{
    Panel p;
    p.info.show();
    p.info.SetTitle("A title long enough to run under the time box, cut at its clip");
    auto full = [&] { return p.Image(); };
    for (const char* time : {"00:00:00", "00:00:01", "00:59:99", "01:00:00", "11:11:11", "100:00:00", "99:59:99",
                             "00:00:02"}) {
        SCOPED_TRACE(time);
        p.info.SetTime(time);
        ASSERT_TRUE(ScreenShows(p.info, full));
    }
    p.info.Clear();
    EXPECT_TRUE(ScreenShows(p.info, full));
    p.info.SetTime("00:00:03");
    EXPECT_TRUE(ScreenShows(p.info, full));
}

// The tick sets the time a hundred times a second. The box is painted at most
// at the pacer's rate, yet the hundredths keep moving on screen while a track
// plays: they are never held back until the second changes.
TEST(StreamInfo, HundredthsMoveOnScreenAtThePacersRate)
{
    CountingPanel info;
    info.resize(kW, kH);
    info.show();
    info.SetTitle("Title");
    info.SetTime("00:07:00");
    QTest::qWait(3 * PaintPacer::kIntervalMs);
    const int before = info.paints;
    constexpr int kTicks = 30;
    for (int i = 1; i <= kTicks; ++i) {
        info.SetTime(QString::asprintf("00:07:%02d", i).toStdString());
        QTest::qWait(10);
    }
    const int painted = info.paints - before;
    EXPECT_GE(painted, 3);       // ~300 ms of ticks: about 9 paced paints
    EXPECT_LT(painted, kTicks);  // but not one per tick
    EXPECT_TRUE(ScreenShows(info, [&] { return Render(info); }));
}
