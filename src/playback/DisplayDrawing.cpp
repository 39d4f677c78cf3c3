#include "playback/DisplayDrawing.h"

#include <QFontMetrics>
#include <QPainter>

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
