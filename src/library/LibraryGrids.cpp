#include "library/LibraryGrids.h"

#include "playback/ConvMs.h"
#include "ui/GridCtrl.h"
#include "ui/Translate.h"

void ConfigureListGrid(GridCtrl& grid, QLineEdit& editor)
{
    grid.AddColumn(String(), 0, true);
    grid.AddColumn("Playlists", 1).Edit(editor);
    grid.ListStyle(3, true, true);
    // What the playlists grid differs in from the preset.
    grid.MultiSelect(true)
        .ResizingCols(false)
        .ResizingRows(false)
        .ResizingFromCells(false)
        .DraggingRows(true)
        .MultiSorting(true)
        .KeepLastRow(true)
        .TabChangesRow(false)
        .HorzGrid(false)
        .VertGrid(false)
        .EditButton(true)
        .FindGroup(false)
        .NavigationButtons(false)
        .CloseButton(false)
        .ImmediateSearch(true)
        .SearchHideRows(true)
        .SearchHighlight(false)
        .SearchCaseSensitive(true);
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
    // What a track grid differs in from the preset.
    grid.MultiSelect(true)
        .ResizingCols(true)
        .ResizingRows(true)
        .ResizingFromCells(true)
        .DraggingRows(true)
        .MultiSorting(true)
        .KeepLastRow(false)
        .TabChangesRow(false)
        .HorzGrid(true)
        .VertGrid(false)
        .EditButton(false)
        .FindGroup(true)
        .NavigationButtons(true)
        .CloseButton(false)
        .ImmediateSearch(true)
        .SearchHideRows(true)
        .SearchHighlight(false)
        .SearchCaseSensitive(true);
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
