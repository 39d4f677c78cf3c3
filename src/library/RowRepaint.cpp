#include "library/RowRepaint.h"

#include <algorithm>

#include <QScrollBar>

#include "ui/GridCtrl.h"

namespace {
constexpr auto kFrame = std::chrono::milliseconds(16);
}

void RowRepaint::RowAdded(GridCtrl& grid, int row, bool shiftsBelow)
{
    grid.RefreshRow(row);
    if (lastGrid_ != &grid) {
        lastGrid_ = &grid;
        lastScroll_ = -1;
        firstPending_ = -1;
        shiftPending_ = false;
    }
    firstPending_ = firstPending_ < 0 ? row : std::min(firstPending_, row);
    shiftPending_ = shiftPending_ || shiftsBelow;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPaint_ < kFrame)
        return;
    lastPaint_ = now;

    // Laying the rows out applies any pending scroll to the end of the list.
    const QRect first = grid.GetCellRect(firstPending_, 0);
    const QRect last = grid.GetCellRect(row, 0);
    QWidget* view = grid.viewport();
    const int scroll = grid.verticalScrollBar()->value();
    if (scroll != lastScroll_) {
        view->repaint();  // the view moved: every row on it is new
    } else {
        const int top = std::max(std::min(first.top(), last.top()), 0);
        const int bottom = shiftPending_ ? view->height() : std::max(first.bottom(), last.bottom()) + 1;
        if (bottom > top)
            view->repaint(0, top, view->width(), bottom - top);
    }
    lastScroll_ = scroll;
    firstPending_ = -1;
    shiftPending_ = false;
}
