// Context menus of the playlists grid and of the track grids. The entries'
// keys also work without the menu: the grids offer unhandled keys to them.

#include <QCursor>

#include "library/Library.h"

void Library::ListAddMenu(Bar& bar)
{
    bar.Add("Add", [this] { ListGrid.DoAppend(); }).Key(K_INSERT);
    bar.Add("Add folder", [this] { AddListFromFolder(); }).Key(K_CTRL | K_INSERT);
    bar.Separator();
    bar.Add("Insert", [this] { ListGrid.DoInsert(); }).Key(K_ALT | K_INSERT);
    bar.Add("Insert folder").Key(K_CTRL | K_ALT | K_INSERT);  // has no action
}

void Library::ListMenu(Bar& bar)
{
    ListAddMenu(bar);
    bar.Separator();
    ListGrid.RemoveMenuItem(bar);
    bar.Add("Change name", [this] { ListGrid.StartEdit(); }).Key(K_ENTER);
    bar.Separator();
    ListGrid.MoveMenuItems(bar);
    bar.Separator();
    ListGrid.SelectAllMenuItem(bar);
}

void Library::ShowListAddMenu()
{
    PopUpMenu([this](Bar& bar) { ListAddMenu(bar); }, QCursor::pos());
}

void Library::TrackAddMenu(Bar& bar)
{
    bar.Add("Add files", [this] { AddFiles(true); }).Key(K_INSERT);
    bar.Add("Add folder", [this] { AddFolder(true); }).Key(K_CTRL | K_INSERT);
    bar.Separator();
    bar.Add("Insert files", [this] { AddFiles(false); }).Key(K_ALT | K_INSERT);
    bar.Add("Insert folder", [this] { AddFolder(false); }).Key(K_CTRL | K_ALT | K_INSERT);
}

void Library::TrackMenu(Bar& bar)
{
    TrackAddMenu(bar);
    bar.Separator();
    GridCtrl& tracks = CurrentTrackList();
    tracks.RemoveMenuItem(bar);
    bar.Separator();
    tracks.MoveMenuItems(bar);
    bar.Separator();
    tracks.SelectAllMenuItem(bar);
    tracks.ColumnsMenuItem(bar);
}

void Library::ShowTrackAddMenu()
{
    PopUpMenu([this](Bar& bar) { TrackAddMenu(bar); }, QCursor::pos());
}
