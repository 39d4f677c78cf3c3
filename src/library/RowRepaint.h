#pragma once

#include <chrono>

class GridCtrl;

// Shows rows as they are added during a long operation that keeps the event loop
// waiting. A synchronous paint per row would cost more than reading the file, so
// the new row's area is painted at once at most once per display frame; rows
// added in between are painted with the next one, or by the event loop at the end.
class RowRepaint {
public:
    // `shiftsBelow`: the row was inserted, so the rows under it moved down too.
    void RowAdded(GridCtrl& grid, int row, bool shiftsBelow);

private:
    std::chrono::steady_clock::time_point lastPaint_{};
    int lastScroll_ = -1;
    const GridCtrl* lastGrid_ = nullptr;
    int firstPending_ = -1;  // topmost row added since the last paint
    bool shiftPending_ = false;
};
