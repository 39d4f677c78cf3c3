// Context menus of the playlists grid and of the track grids. The entries'
// keys also work without the menu: the grids offer unhandled keys to them.
// Texts are looked up each time a menu is built, so menus follow the language.

#include <QCursor>

#include "library/Library.h"
#include "ui/Translate.h"

void Library::ListAddMenu(Bar& bar)
{
    bar.Add(Translate("Add"), [this] { ListGrid.DoAppend(); }).Key(K_INSERT);
    bar.Add(Translate("Add folder"), [this] { AddListFromFolder(); }).Key(K_CTRL | K_INSERT);
    bar.Separator();
    bar.Add(Translate("menu\vInsert"), [this] { ListGrid.DoInsert(); }).Key(K_ALT | K_INSERT);
    bar.Add(Translate("Insert folder")).Key(K_CTRL | K_ALT | K_INSERT);  // has no action
}

void Library::ListMenu(Bar& bar)
{
    ListAddMenu(bar);
    bar.Separator();
    ListGrid.RemoveMenuItem(bar);
    bar.Add(Translate("Change name"), [this] { ListGrid.StartEdit(); }).Key(K_ENTER);
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
    bar.Add(Translate("Add files"), [this] { AddFiles(true); }).Key(K_INSERT);
    bar.Add(Translate("Add folder"), [this] { AddFolder(true); }).Key(K_CTRL | K_INSERT);
    bar.Separator();
    bar.Add(Translate("Insert files"), [this] { AddFiles(false); }).Key(K_ALT | K_INSERT);
    bar.Add(Translate("Insert folder"), [this] { AddFolder(false); }).Key(K_CTRL | K_ALT | K_INSERT);
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
