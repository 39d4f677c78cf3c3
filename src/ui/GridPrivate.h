#pragma once

// The grid's state behind its API, shared by GridCtrl's own files and its parts.

#include "ui/GridCtrl.h"
#include "ui/GridEditSession.h"
#include "ui/GridHeader.h"
#include "ui/GridRowDrag.h"
#include "ui/GridSearch.h"

class QPushButton;
class GridToolBar;

struct GridCtrl::Private {
    explicit Private(GridCtrl& grid) : header(grid), edit(grid), search(grid), drag(grid) {}

    // Cursor and selection.
    int cursorRow = -1;
    int cursorCol = -1;
    int anchorRow = -1;  // where Shift-selection ranges start
    bool clearSelectionOnRelease = false;

    // Layout and painting.
    bool layoutDirty = true;
    bool scrollToLastPending = false;
    int laidOutWidth = -1;
    bool painting = false;
    bool updatePending = false;

    // The toolbar: children of the grid, deleted with it.
    GridToolBar* toolBar = nullptr;
    QPushButton* closeButton = nullptr;
    uint32_t toolBarBuilt = 0;  // ToolBarSignature() of the last build, 0 = none
    bool toolBarPending = false;
    bool toolBarForce = false;

    GridHeader header;
    GridEditSession edit;
    GridSearch search;
    GridRowDrag drag;
};
