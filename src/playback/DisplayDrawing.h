#pragma once

#include <QColor>
#include <QSize>
#include <QFont>
#include <QString>

class QPainter;

// Drawing pieces shared by the bar and the now-playing panel.

// The pale colour of an empty field.
inline const QColor kPaleFieldColor(245, 245, 255);

// A black frame one pixel wide around a w x h control.
void DrawBlackFrame(QPainter& painter, int w, int h);

// Fills the area from (left, top) to (right, bottom), ends exclusive;
// nothing when the area is empty, as it is on a very small control.
void FillArea(QPainter& painter, int left, int top, int right, int bottom, const QColor& color);

// The extent of text in the painter's current font: its advance width and
// the font's line height.
QSize TextExtent(const QPainter& painter, const QString& text);

// Draws text with its cell's top-left corner at (x, y) in the painter's
// current font and pen.
void DrawTextTopLeft(QPainter& painter, int x, int y, const QString& text);

// The advance width of text as QFontMetrics gives it, for texts measured a
// hundred times a second (times, percentages). The part made of digits and
// the punctuation around them is summed from character advances kept here,
// provided the font adjusts none of those characters against each other
// (checked once per font); the rest of the text is shaped once and kept.
// `font` is measured as it stands (a painter's font carries its device's
// resolution); `dpi` names that resolution so that a change is noticed.
class NumericTextWidth {
public:
    int operator()(const QFont& font, int dpi, const QString& text);

private:
    static int Index(QChar c);
    void Prepare(const QFont& font, int dpi);

    QString fontKey_;
    int dpi_ = -1;
    bool additive_ = false;
    double advance_[16] = {};
    QString prefix_;
    double prefixWidth_ = 0;
};
