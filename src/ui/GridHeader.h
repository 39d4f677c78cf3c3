#pragma once

#include <vector>

#include <QPoint>
#include <Qt>

class GridCtrl;
class QPainter;
class QRect;

// The caption row of a grid and what is done with it: the sort keys and caption
// clicks, and dragging column borders (and row borders in the indicator column).
// It keeps no rows; it orders and sizes the grid's.
class GridHeader {
public:
    explicit GridHeader(GridCtrl& grid) : grid_(grid) {}
    GridHeader(const GridHeader&) = delete;
    GridHeader& operator=(const GridHeader&) = delete;

    // The sort keys, first key first.
    const std::vector<int>& SortKeys() const { return sortKeys_; }
    // Cycles a column's sort state (none, ascending, descending); with `add` the column
    // becomes a further key instead of the only one.
    void CycleSort(int column, bool add);
    // Sorts the display order by the keys, or back to the order of addition without
    // keys; false when every row stayed where it was.
    bool Resort();

    // The left button on the viewport. Press is true when it took the press (a border
    // grab, or a press on a caption); Release is true when it took the release.
    bool Press(const QPoint& pos);
    bool Move(const QPoint& pos);  // true while a border is being dragged
    bool Release(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    // The pointer's shape over a border that can be taken, else the arrow.
    Qt::CursorShape HoverShape(const QPoint& pos);

    // Moves the border after a visible column so that it is `pixels` wide.
    bool ResizeColumn(int column, int pixels);

    void Paint(QPainter& painter);

private:
    int ColumnBorderAt(const QPoint& pos) const;
    int RowBorderAt(const QPoint& pos);
    int NextVisibleColumn(int column) const;
    void PaintSortMark(QPainter& painter, int column, QRect& text);

    GridCtrl& grid_;
    std::vector<int> sortKeys_;
    int captionPress_ = -1;  // column whose caption the left button went down on
    enum class Resize { None, Column, Row } resizing_ = Resize::None;
    int resizeIndex_ = -1;
    int resizeStart_ = 0;  // the column's width or the row's height when the drag began
    QPoint resizeFrom_;
};
