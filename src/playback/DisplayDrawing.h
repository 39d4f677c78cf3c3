#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QSize>
#include <QString>
#include <QVector>

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

// The advance width of text as QFontMetrics gives it, and the text drawn as
// QPainter::drawText draws it, for texts that change many times a second
// (times, percentages). The part made of digits and the punctuation around
// them is summed from character advances and glyphs kept here, provided the
// font adjusts none of those characters against each other (checked once per
// font); the rest of the text is shaped once and kept. `font` is measured as
// it stands (a painter's font carries its device's resolution); `dpi` names
// that resolution so that a change is noticed.
class NumericTextWidth {
public:
    int operator()(const QFont& font, int dpi, const QString& text);
    // The font's line height, kept with the advances: asked at every change, measured once.
    int Height(const QFont& font, int dpi)
    {
        Prepare(font, dpi);
        return height_;
    }

    // Draws text with its cell's top-left corner at (x, y) in the painter's
    // current font and pen, as DrawTextTopLeft does, without shaping it again.
    void Draw(QPainter& painter, int x, int y, const QString& text);

private:
    static int Index(QChar c);
    void Prepare(const QFont& font, int dpi);
    // Splits text into the prefix that is shaped and the numeric rest; keeps the prefix's shape.
    int Split(const QFont& font, const QString& text);

    QFont font_;
    int dpi_ = -1;
    bool additive_ = false;
    double advance_[16] = {};
    int ascent_ = 0;
    int height_ = 0;
    QString prefix_;
    double prefixWidth_ = 0;

    // The glyphs drawn: the raw font, each numeric character's glyph, the
    // prefix's shaped glyphs with their positions (baseline at y = 0).
    bool drawable_ = false;
    QRawFont rawFont_;
    quint32 glyph_[16] = {};
    bool prefixShaped_ = false;  // prefix glyphs below belong to prefix_
    bool prefixDrawable_ = false;
    QVector<quint32> prefixGlyphs_;
    QVector<QPointF> prefixPositions_;
    QVector<quint32> glyphs_;      // scratch of each draw
    QVector<QPointF> positions_;
};
