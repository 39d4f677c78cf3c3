#pragma once

#include <QColor>
#include <QSize>
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
