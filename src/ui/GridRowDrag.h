#pragma once

#include <memory>

#include <QPoint>

#include "core/Value.h"

class GridCtrl;
class GridPopUp;
class QPainter;

// Moving rows by dragging them with the left button: the press that may become a
// drag, the floating text that follows the pointer, the marker at the boundary the
// rows would go to, and the drop.
class GridRowDrag {
public:
    explicit GridRowDrag(GridCtrl& grid);
    ~GridRowDrag();
    GridRowDrag(const GridRowDrag&) = delete;
    GridRowDrag& operator=(const GridRowDrag&) = delete;

    bool IsDragging() const { return dragging_; }
    // A left-button press on a row, which may become a drag.
    void Press(const QPoint& pos);
    // The pointer moved with the left button held; true while a drag runs.
    bool Move(const QPoint& pos, const QPoint& globalPos);
    // The left button went up; true when it ended a drag (and dropped the rows).
    bool Release(const QPoint& pos);

    // The floating text for a drop just after display row `after`.
    String Text(int after) const;
    // Moves the cursor row, or the selection when the cursor row is in it, to just
    // after display row `after`; false when nothing moved.
    bool Drop(int after);

    void PaintMarker(QPainter& painter);

private:
    int DropAfterRow(const QPoint& pos);
    void SetMarker(int y);

    GridCtrl& grid_;
    QPoint pressPos_;
    bool pressOnRow_ = false;
    bool dragging_ = false;
    int markerY_ = -1;
    std::unique_ptr<GridPopUp> popUp_;  // a top-level window of its own, not a child
};
