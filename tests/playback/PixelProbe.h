#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <cstdlib>
#include <ostream>

// Reads what a widget really draws: its rendering as an image at one device
// pixel per logical pixel.
inline QImage Render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// Text is the only dark thing inside the frames of these displays.
inline bool IsInk(QRgb rgb)
{
    return qRed(rgb) + qGreen(rgb) + qBlue(rgb) < 300;
}

// The bounding box of text pixels inside `area`; empty when there are none.
inline QRect InkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Readable colours in test failures.
inline void PrintTo(const QColor& colour, std::ostream* out)
{
    *out << "RGB(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

// Both displays draw a one-pixel black frame around their whole area; the top
// and bottom edges are sampled every `xStep` pixels.
inline void ExpectBlackFrame(const QImage& image, int xStep = 1)
{
    const QColor black(0, 0, 0);
    const int w = image.width(), h = image.height();
    for (int x = 0; x < w; x += xStep) {
        EXPECT_EQ(PixelAt(image, x, 0), black);
        EXPECT_EQ(PixelAt(image, x, h - 1), black);
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(PixelAt(image, 0, y), black);
        EXPECT_EQ(PixelAt(image, w - 1, y), black);
    }
}

// What a shown widget has put on the screen, once the paced repaints of its
// last changes have been made (within a second, or the test fails on it).
template <class Picture>
::testing::AssertionResult ScreenShows(QWidget& widget, Picture expected)
{
    QImage last;
    auto grab = [&] {
        last = widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        return last == expected();
    };
    if (QTest::qWaitFor(grab, 1000))
        return ::testing::AssertionSuccess();
    if (const char* dir = std::getenv("QP_TEST_IMAGES")) {
        last.save(QString(dir) + "/screen.png");
        expected().save(QString(dir) + "/full.png");
    }
    return ::testing::AssertionFailure() << "the screen does not show what a full paint draws";
}
