#include "playback/DisplayDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <cmath>

void DrawBlackFrame(QPainter& painter, int w, int h)
{
    const QColor black(0, 0, 0);
    FillArea(painter, 0, 0, w, 1, black);
    FillArea(painter, 0, h - 1, w, h, black);
    FillArea(painter, 0, 0, 1, h, black);
    FillArea(painter, w - 1, 0, w, h, black);
}

void FillArea(QPainter& painter, int left, int top, int right, int bottom, const QColor& color)
{
    if (right > left && bottom > top)
        painter.fillRect(left, top, right - left, bottom - top, color);
}

QSize TextExtent(const QPainter& painter, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void DrawTextTopLeft(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

namespace {

// Digits and what stands between them in a time or a percentage.
constexpr char16_t kNumericChars[] = u"0123456789:. %-";

// QFontMetrics rounds the shaped width in its fixed-point units; the halves
// of those are exact in a double.
int RoundWidth(double width) { return static_cast<int>(std::floor(width + 0.5)); }

}  // namespace

int NumericTextWidth::Index(QChar c)
{
    for (int i = 0; kNumericChars[i]; ++i)
        if (c.unicode() == kNumericChars[i])
            return i;
    return -1;
}

void NumericTextWidth::Prepare(const QFont& font, int dpi)
{
    if (dpi == dpi_ && font == font_)
        return;
    font_ = font;
    dpi_ = dpi;
    prefix_.clear();
    const QFontMetrics whole(font);
    ascent_ = whole.ascent();
    height_ = whole.height();
    const QFontMetricsF metrics(font);
    const QString chars = QString::fromUtf16(kNumericChars, -1);
    for (int i = 0; i < chars.size(); ++i)
        advance_[i] = metrics.horizontalAdvance(chars.at(i));
    // Summing is exact only if no pair of these characters is kerned or joined.
    additive_ = true;
    for (int a = 0; a < chars.size() && additive_; ++a)
        for (int b = 0; b < chars.size() && additive_; ++b)
            additive_ = metrics.horizontalAdvance(QString(chars.at(a)) + chars.at(b)) == advance_[a] + advance_[b];

    // Drawing from kept glyphs needs every numeric character in the font itself, not a fallback.
    prefixShaped_ = false;
    rawFont_ = QRawFont::fromFont(font);
    drawable_ = additive_ && rawFont_.isValid();
    if (drawable_) {
        const QVector<quint32> glyphs = rawFont_.glyphIndexesForString(chars);
        for (int i = 0; i < chars.size() && drawable_; ++i) {
            glyph_[i] = i < glyphs.size() ? glyphs[i] : 0;
            drawable_ = glyph_[i] != 0;
        }
    }
}

int NumericTextWidth::Split(const QFont& font, const QString& text)
{
    // The numeric part starts after a numeric character, so the pair across
    // the split is one of the pairs checked.
    int split = text.size();
    while (split > 0 && Index(text.at(split - 1)) >= 0)
        --split;
    if (split < text.size())
        ++split;
    if (split == 1 && Index(text.at(0)) >= 0)
        split = 0;
    const QString prefix = text.left(split);
    if (prefix != prefix_) {
        prefix_ = prefix;
        prefixWidth_ = prefix.isEmpty() ? 0 : QFontMetricsF(font).horizontalAdvance(prefix);
        prefixShaped_ = false;
    }
    return split;
}

int NumericTextWidth::operator()(const QFont& font, int dpi, const QString& text)
{
    Prepare(font, dpi);
    if (!additive_)
        return QFontMetrics(font).horizontalAdvance(text);
    const int split = Split(font, text);
    double width = prefixWidth_;
    for (int i = split; i < text.size(); ++i)
        width += advance_[Index(text.at(i))];
    return RoundWidth(width);
}

void NumericTextWidth::Draw(QPainter& painter, int x, int y, const QString& text)
{
    const QFont& font = painter.font();
    Prepare(font, painter.device()->logicalDpiY());
    if (!drawable_) {
        DrawTextTopLeft(painter, x, y, text);
        return;
    }
    const int split = Split(font, text);
    if (!prefixShaped_) {
        // The prefix is shaped once; it draws from kept glyphs when it makes one run in the font itself.
        prefixShaped_ = true;
        prefixGlyphs_.clear();
        prefixPositions_.clear();
        prefixDrawable_ = true;
        if (!prefix_.isEmpty()) {
            QTextLayout layout(prefix_, font);
            layout.beginLayout();
            const QTextLine line = layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            prefixDrawable_ = runs.size() == 1 && runs[0].rawFont() == rawFont_;
            if (prefixDrawable_) {
                prefixGlyphs_ = runs[0].glyphIndexes();
                for (const QPointF& at : runs[0].positions())
                    prefixPositions_.push_back(at - QPointF(0, line.ascent()));
            }
        }
    }
    if (!prefixDrawable_) {
        DrawTextTopLeft(painter, x, y, text);
        return;
    }
    glyphs_ = prefixGlyphs_;
    positions_ = prefixPositions_;
    double at = prefixWidth_;
    for (int i = split; i < text.size(); ++i) {
        const int index = Index(text.at(i));
        glyphs_.push_back(glyph_[index]);
        positions_.push_back(QPointF(at, 0));
        at += advance_[index];
    }
    QGlyphRun run;
    run.setRawFont(rawFont_);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter.drawGlyphRun(QPointF(x, y + ascent_), run);
}
