#pragma once

#include "playback/TrackColumns.h"

class GridCtrl;
class QLineEdit;

// Cells of a ListGrid row: the playlist's LISTS.ID (hidden) and its NAME.
enum ListColumn { LIST_ID = 0, LIST_NAME = 1 };


// Columns and settings of the playlists grid; the name column is edited with `editor`.
// Callbacks are left to the owner.
void ConfigureListGrid(GridCtrl& grid, QLineEdit& editor);

// Columns and settings of one track grid: hidden "Id" and "Filename", then
// "Title", "Artist", "Album" (4 each) and "Length" (2, shown as time, centred).
// Callbacks are left to the owner.
void ConfigureTrackGrid(GridCtrl& grid);

// Shows each column's caption in the current language; a stored column layout
// still knows the columns by the captions they were added with.
void TranslateCaptions(GridCtrl& grid);
