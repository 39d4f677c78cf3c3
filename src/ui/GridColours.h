#pragma once

#include <QColor>

// The colours the grid paints with, shared by the rows and the caption row.
namespace GridColours {
inline const QColor kWhite(255, 255, 255);
inline const QColor kAlternate(242, 242, 242);
inline const QColor kText(0, 0, 0);
inline const QColor kCaptionFill(236, 236, 236);
inline const QColor kCaptionLine(160, 160, 160);
inline const QColor kGridLine(216, 216, 216);
inline const QColor kCursorFill(51, 102, 204);
inline const QColor kCursorText(255, 255, 255);
inline const QColor kSelectedFill(184, 207, 245);
inline const QColor kMarker(0, 0, 0);
inline const QColor kSortMark(90, 90, 90);
inline const QColor kFoundFill(255, 225, 90);
inline const QColor kDropMarker(200, 30, 30);
}  // namespace GridColours
