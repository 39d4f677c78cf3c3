#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "playback/PixelProbe.h"
#include "playback/ProgressButton.h"

namespace {

const QColor kPale(245, 245, 255);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

// 201 pixels wide puts the gradient's divisor (w - 1) at a round 200.
struct Bar {
    explicit Bar(float value, bool gradient, int w = 201, int h = 24)
    {
        bar.resize(w, h);
        bar.gradient = gradient;
        bar.Set(value);
    }
    QImage Image() { return Render(bar); }
    ProgressButton bar;
};

// The caption sits in the middle; fill colours are read near the ends.
void ExpectColumn(const QImage& image, int x, const QColor& colour)
{
    for (int y : {1, image.height() / 2, image.height() - 2})
        EXPECT_EQ(PixelAt(image, x, y), colour) << "column " << x << " row " << y;
}


}  // namespace

TEST(ProgressButtonPaint, ZeroOrLessFillsNothing)
{
    for (float value : {0.0f, -20.0f}) {
        for (bool gradient : {true, false}) {
            Bar b(value, gradient);
            const QImage image = b.Image();
            ExpectBlackFrame(image, 7);
            for (int x : {1, 2, 40, 199})
                ExpectColumn(image, x, kPale);
        }
    }
}

TEST(ProgressButtonPaint, GradientBlendsPerColumnUpToTheFillEnd)
{
    // 201 * 37.5% = 75.375: columns 1..74 are filled, 75 on is pale.
    Bar b(37.5f, true);
    const QImage image = b.Image();
    ExpectBlackFrame(image, 7);
    ExpectColumn(image, 1, QColor(255, 254, 0));
    ExpectColumn(image, 50, QColor(255, 191, 0));
    ExpectColumn(image, 74, QColor(255, 161, 0));
    ExpectColumn(image, 75, kPale);
    ExpectColumn(image, 199, kPale);
}

TEST(ProgressButtonPaint, GradientReachesFillColourAtTheRightFrame)
{
    for (float value : {100.0f, 150.0f}) {
        Bar b(value, true);
        const QImage image = b.Image();
        ExpectBlackFrame(image, 7);
        ExpectColumn(image, 1, QColor(255, 254, 0));
        ExpectColumn(image, 100, QColor(255, 126, 0));
        ExpectColumn(image, 199, kRed);  // no pale remainder
    }
}

TEST(ProgressButtonPaint, PlainFillUsesFillColour)
{
    Bar half(37.5f, false);
    half.bar.fillColor = QColor(200, 200, 240);
    const QImage image = half.Image();
    ExpectBlackFrame(image, 7);
    ExpectColumn(image, 1, QColor(200, 200, 240));
    ExpectColumn(image, 74, QColor(200, 200, 240));
    ExpectColumn(image, 75, kPale);

    for (float value : {100.0f, 150.0f}) {
        Bar full(value, false);
        const QImage full_image = full.Image();
        ExpectColumn(full_image, 1, kRed);
        ExpectColumn(full_image, 199, kRed);
        ExpectBlackFrame(full_image, 7);
    }
}

TEST(ProgressButtonPaint, FillEndIsComputedInSinglePrecision)
{
    // 200 * 18.5 * 0.01f rounds to exactly 37 in single precision, while the
    // same float constant widened to double gives 36.99999..., one column less:
    // column 36 is still filled and 37 is the first pale one.
    Bar b(18.5f, false, 200);
    const QImage image = b.Image();
    ExpectColumn(image, 36, kRed);
    ExpectColumn(image, 37, kPale);
}

namespace {

// The text alone, as the bar's caption should look on a pale inside.
QImage CaptionReference(const ProgressButton& bar, const QString& text)
{
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(kPale);
    QPainter painter(&image);
    painter.setFont(bar.font());
    painter.setPen(bar.palette().color(QPalette::WindowText));
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = (bar.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = (bar.height() - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), text);
    return image;
}

}  // namespace

TEST(ProgressButtonPaint, CaptionIsCentredAndShowsTheUnclampedValue)
{
    Bar b(150.0f, false, 301, 24);
    b.bar.fillColor = kPale;  // keep the inside plain so that only text is dark
    b.bar.label = "Volume";
    const QImage image = b.Image();
    const QRect inside(1, 1, 299, 22);
    const QRect ink = InkBounds(image, inside);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 150, 3);
    EXPECT_NEAR(ink.center().y(), 12, 4);

    const QImage expected = CaptionReference(b.bar, QStringLiteral("Volume : 150.00 %"));
    const QImage clamped = CaptionReference(b.bar, QStringLiteral("Volume : 100.00 %"));
    EXPECT_EQ(image.copy(inside), expected.copy(inside));
    EXPECT_NE(image.copy(inside), clamped.copy(inside));
}

TEST(ProgressButtonPaint, EmptyLabelStillShowsTheValue)
{
    Bar b(0.0f, false);
    const QRect inside(1, 1, 199, 22);
    EXPECT_EQ(b.Image().copy(inside), CaptionReference(b.bar, QStringLiteral(" : 0.00 %")).copy(inside));
}

namespace {

void SendMouse(QWidget& widget, QEvent::Type type, int x, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    const QPointF local(x, widget.height() / 2);
    QMouseEvent event(type, local, widget.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Press(QWidget& w, int x) { SendMouse(w, QEvent::MouseButtonPress, x, Qt::LeftButton, Qt::LeftButton); }
void Move(QWidget& w, int x) { SendMouse(w, QEvent::MouseMove, x, Qt::NoButton, Qt::LeftButton); }
void Release(QWidget& w, int x) { SendMouse(w, QEvent::MouseButtonRelease, x, Qt::LeftButton, Qt::NoButton); }

struct MouseBar {
    explicit MouseBar(bool live)
    {
        bar.resize(200, 20);
        bar.live = live;
        bar.WhenAction = [this] { values.push_back(bar.Get()); };
    }
    ProgressButton bar;
    std::vector<float> values;  // the value at each action
};

}  // namespace

TEST(ProgressButtonMouse, ClickSetsThePressPointAndFiresOnceOnRelease)
{
    MouseBar m(false);
    Press(m.bar, 50);
    EXPECT_FLOAT_EQ(m.bar.Get(), 25.0f);
    EXPECT_TRUE(m.bar.HasCapture());
    EXPECT_TRUE(m.values.empty());
    Release(m.bar, 50);
    EXPECT_FALSE(m.bar.HasCapture());
    EXPECT_EQ(m.values, std::vector<float>{25.0f});
}

TEST(ProgressButtonMouse, DragClampsButThePressDoesNot)
{
    MouseBar m(false);
    Press(m.bar, 250);
    EXPECT_FLOAT_EQ(m.bar.Get(), 125.0f);
    Move(m.bar, 300);
    EXPECT_FLOAT_EQ(m.bar.Get(), 100.0f);
    Move(m.bar, -40);
    EXPECT_FLOAT_EQ(m.bar.Get(), 0.0f);
    Move(m.bar, 1);
    EXPECT_FLOAT_EQ(m.bar.Get(), 0.5f);
    EXPECT_TRUE(m.values.empty());
    Release(m.bar, 1);
    EXPECT_EQ(m.values, std::vector<float>{0.5f});
}

TEST(ProgressButtonMouse, LiveBarFiresOnPressAndEveryMoveButNotOnRelease)
{
    MouseBar m(true);
    Press(m.bar, 20);
    Move(m.bar, 40);
    Move(m.bar, 400);
    Release(m.bar, 400);
    EXPECT_EQ(m.values, (std::vector<float>{10.0f, 20.0f, 100.0f}));
}

TEST(ProgressButtonMouse, DragThatStartedOutsideDoesNothing)
{
    for (bool live : {false, true}) {
        MouseBar m(live);
        m.bar.Set(42.0f);
        Move(m.bar, 100);
        Move(m.bar, 150);
        Release(m.bar, 150);
        EXPECT_FLOAT_EQ(m.bar.Get(), 42.0f);
        EXPECT_TRUE(m.values.empty());
        // Nor does the right button.
        SendMouse(m.bar, QEvent::MouseButtonPress, 10, Qt::RightButton, Qt::RightButton);
        EXPECT_FLOAT_EQ(m.bar.Get(), 42.0f);
        EXPECT_FALSE(m.bar.HasCapture());
    }
}

namespace {

class CountingBar : public ProgressButton {
public:
    int paints = 0;
    float painted = -1;  // the value of the last paint
    QRect asked;         // the area the last paint event asked for

protected:
    void paintEvent(QPaintEvent* event) override
    {
        asked = event->rect();
        ProgressButton::paintEvent(event);
    }
    void Paint(QPainter& painter) override
    {
        ++paints;
        painted = Get();
        ProgressButton::Paint(painter);
    }
};

// Lets the paced repaint of the last change happen.
void SettlePaints() { QTest::qWait(3 * PaintPacer::kIntervalMs); }

}  // namespace

// The position bar is set a hundred times a second; a value that changes
// neither the fill end nor the two-decimal caption is not repainted.
TEST(ProgressButtonPaint, SettingAValueThatLooksTheSameDoesNotRepaint)
{
    CountingBar bar;
    bar.resize(201, 24);
    bar.show();
    bar.Set(10.0f);
    SettlePaints();
    const int before = bar.paints;
    bar.Set(10.001f);
    SettlePaints();
    EXPECT_EQ(bar.paints, before);
    EXPECT_FLOAT_EQ(bar.Get(), 10.001f);
    bar.Set(10.01f);  // the caption changes
    SettlePaints();
    EXPECT_EQ(bar.paints, before + 1);
    bar.Set(10.5f);   // so do caption and fill end
    SettlePaints();
    EXPECT_EQ(bar.paints, before + 2);
}

// The tick sets the bar a hundred times a second: it is painted at the
// display's pace, only the area that changed, and the last value always
// reaches the screen, also when the setting stops between two paints.
TEST(ProgressButtonPaint, PacedPartialRepaintsEndOnTheLastValue)
{
    for (bool gradient : {false, true}) {
        SCOPED_TRACE(gradient ? "gradient" : "plain");
        CountingBar bar;
        bar.gradient = gradient;
        bar.label = "Position";
        bar.resize(301, 24);
        bar.show();
        SettlePaints();
        const int before = bar.paints;
        QElapsedTimer clock;
        clock.start();
        int sets = 0;
        for (float v = 0; v <= 100.0f; v += 1.7f, ++sets) {
            bar.Set(v);
            QTest::qWait(10);
        }
        bar.Set(33.33f);
        SettlePaints();
        const qint64 elapsed = clock.elapsed();
        EXPECT_FLOAT_EQ(bar.painted, 33.33f);
        // At most one paint per interval, give or take the first and the last.
        EXPECT_LE(bar.paints - before, elapsed / PaintPacer::kIntervalMs + 2);
        EXPECT_LT(bar.paints - before, sets);
        EXPECT_TRUE(ScreenShows(bar, [&] { return Render(bar); }));
    }
}

// When only the last digits of the caption change, only they are painted,
// and the screen still shows what a full paint draws.
TEST(ProgressButtonPaint, ACaptionChangePaintsOnlyTheCharactersThatDiffer)
{
    CountingBar bar;
    bar.label = "Position";
    bar.resize(301, 24);
    bar.show();
    bar.Set(10.0f);
    SettlePaints();
    const int captionWidth = QFontMetrics(bar.font()).horizontalAdvance(QStringLiteral("Position : 10.00 %"));
    for (float v : {10.01f, 10.02f, 10.19f, 10.2f, 19.99f, 20.0f, 9.99f}) {
        SCOPED_TRACE(v);
        const int before = bar.paints;
        bar.Set(v);
        SettlePaints();
        ASSERT_EQ(bar.paints, before + 1);
        if (v == 10.02f) {  // one digit
            EXPECT_LT(bar.asked.width(), captionWidth / 3);
        }
        EXPECT_TRUE(ScreenShows(bar, [&] { return Render(bar); }));
    }
}

// Nothing is painted while the window is minimised or hidden; the latest
// value is painted when it is shown again.
TEST(ProgressButtonPaint, NoPaintsWhileMinimisedOrHidden)
{
    QWidget window;
    window.resize(320, 40);
    auto* bar = new CountingBar;
    bar->setParent(&window);
    bar->setGeometry(0, 0, 301, 24);
    window.show();
    SettlePaints();
    for (bool minimise : {true, false}) {
        SCOPED_TRACE(minimise ? "minimised" : "hidden");
        if (minimise)
            window.showMinimized();
        else
            window.hide();
        SettlePaints();
        const int before = bar->paints;
        for (float v : {10.0f, 20.0f, 30.0f, minimise ? 40.0f : 50.0f}) {
            bar->Set(v);
            SettlePaints();
        }
        EXPECT_EQ(bar->paints, before);
        window.showNormal();
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar->painted == (minimise ? 40.0f : 50.0f); }, 1000));
    }
}

// The repaint of a changed value covers everything that changed: what
// reaches the screen is exactly what a full paint draws.
TEST(ProgressButtonPaint, PartialRepaintsOnScreenMatchAFullPaint)
{
    for (bool gradient : {false, true}) {
        SCOPED_TRACE(gradient ? "gradient" : "plain");
        ProgressButton bar;
        bar.gradient = gradient;
        bar.label = "Volume";
        bar.resize(201, 24);
        bar.show();
        auto full = [&] { return Render(bar); };
        for (float v : {0.0f, 0.5f, 9.99f, 10.0f, 55.55f, 54.0f, 100.0f, 100.5f, 250.0f, -3.0f, 1.0f, 99.99f}) {
            SCOPED_TRACE(v);
            bar.Set(v);
            ASSERT_TRUE(ScreenShows(bar, full));
        }
    }
}

// Times and captions are measured from kept character advances; the widths
// must be exactly those of the shaped text, in the panel font and the
// standard one.
TEST(NumericTextWidthTest, MatchesTheShapedWidth)
{
    QFont panel(QStringLiteral("Arial"));
    panel.setPixelSize(18);
    for (const QFont& font : {panel, QApplication::font()}) {
        NumericTextWidth widths;
        const QFontMetrics metrics(font);
        for (int i = -500; i < 30000; i += 37) {
            char time[32], caption[64];
            std::snprintf(time, sizeof time, "%02d:%02d:%02d", i / 6000, (i / 100) % 60, i % 100);
            std::snprintf(caption, sizeof caption, "%s : %.2f %%", i % 2 ? "Position" : "Volume", i / 97.0);
            for (const QString& text : {QString(time), QString(caption), QString("Title 7"), QString()})
                ASSERT_EQ(widths(font, 96, text), metrics.horizontalAdvance(text)) << text.toStdString();
        }
    }
}

// Times and captions are drawn from kept glyphs; the pixels must be exactly
// those of drawText, in the panel font and the standard one.
TEST(NumericTextWidthTest, DrawsWhatDrawTextDraws)
{
    QFont panel(QStringLiteral("Arial"));
    panel.setPixelSize(18);
    for (const QFont& font : {panel, QApplication::font()}) {
        NumericTextWidth glyphs;
        auto draw = [&](const QString& text, bool kept) {
            QImage image(260, 30, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(Qt::black);
            if (kept)
                glyphs.Draw(painter, 3, 2, text);
            else
                DrawTextTopLeft(painter, 3, 2, text);
            return image;
        };
        for (int i = -500; i < 30000; i += 997) {
            char time[32], caption[64];
            std::snprintf(time, sizeof time, "%02d:%02d:%02d", i / 6000, (i / 100) % 60, i % 100);
            std::snprintf(caption, sizeof caption, "%s : %.2f %%", i % 2 ? "Position" : "Volume", i / 97.0);
            for (const QString& text : {QString(time), QString(caption), QString("Title 7"), QString()})
                ASSERT_EQ(draw(text, true), draw(text, false)) << text.toStdString();
        }
    }
}
