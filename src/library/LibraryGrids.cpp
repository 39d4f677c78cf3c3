#include "library/LibraryGrids.h"

#include "playback/ConvMs.h"
#include "ui/GridCtrl.h"
#include "ui/Translate.h"

namespace {

// What both library grids differ in from the preset. A track grid is long and
// laid out by the user (resized, searched, walked with the navigation buttons);
// the playlists grid is a short list edited in place that keeps its last row.
void LibraryGridSettings(GridCtrl& grid, bool tracks)
{
    grid.MultiSelect(true)
        .DraggingRows(true)
        .MultiSorting(true)
        .TabChangesRow(false)
        .VertGrid(false)
        .CloseButton(false)
        .ImmediateSearch(true)
        .SearchHideRows(true)
        .SearchHighlight(false)
        .SearchCaseSensitive(true);
    grid.ResizingCols(tracks)
        .ResizingRows(tracks)
        .ResizingFromCells(tracks)
        .HorzGrid(tracks)
        .FindGroup(tracks)
        .NavigationButtons(tracks)
        .KeepLastRow(!tracks)
        .EditButton(!tracks);
}

}  // namespace

void ConfigureListGrid(GridCtrl& grid, QLineEdit& editor)
{
    grid.AddColumn(String(), 0, true);
    grid.AddColumn("Playlists", 1).Edit(editor);
    grid.ListStyle(3, true, true);
    LibraryGridSettings(grid, false);
    TranslateCaptions(grid);
}

void ConfigureTrackGrid(GridCtrl& grid)
{
    grid.Indicator(true, 8);
    grid.AddColumn("Id", 0, true);
    grid.AddColumn("Filename", 0, true);
    grid.AddColumn("Title", 4);
    grid.AddColumn("Artist", 4);
    grid.AddColumn("Album", 4);
    grid.AddColumn("Length", 2).SetConvert(ConvMsFormat).Align(ALIGN_CENTER, ALIGN_CENTER);
    grid.ListStyle(2, true, true);
    LibraryGridSettings(grid, true);
    TranslateCaptions(grid);
}

void TranslateCaptions(GridCtrl& grid)
{
    for (int i = 0; i < grid.GetColumnCount(); ++i) {
        GridColumn& column = grid.GetColumn(i);
        column.Caption(Translate(column.GetName().c_str()));
    }
    grid.update();
}
