#pragma once

#include <QColor>

// The colours the grid paints with, shared by the rows and the caption row,
// one line per part of the grid they paint.
namespace GridColours {
// Rows: background, stripe, text and the lines between rows.
inline const QColor kWhite(255, 255, 255), kAlternate(242, 242, 242), kText(0, 0, 0), kGridLine(216, 216, 216);
// The cursor row and the selected rows.
inline const QColor kCursorFill(51, 102, 204), kCursorText(255, 255, 255), kSelectedFill(184, 207, 245);
// The caption row and the fixed column with its row marker.
inline const QColor kCaptionFill(236, 236, 236), kCaptionLine(160, 160, 160), kSortMark(90, 90, 90), kMarker(0, 0, 0);
// Marks laid over rows: search matches and where a dragged row will drop.
inline const QColor kFoundFill(255, 225, 90), kDropMarker(200, 30, 30);
}  // namespace GridColours
