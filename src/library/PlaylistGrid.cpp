// The playlists grid: creating, renaming, removing and selecting playlists,
// each with its own track grid in TrackLists.

#include <filesystem>

#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "library/Library.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/NotStored.h"
#include "playback/PlaybackControl.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

bool Library::FixListName(String& name)
{
    name = TrimBoth(name);
    if (!name.empty())
        return false;
    name = Fill(Translate("Playlist %d"), {std::to_string(ListGrid.GetCount())});
    return true;
}

String Library::FixedListName()
{
    const Value& cell = ListGrid.Get(LIST_NAME);
    String name = cell.ToString();
    FixListName(name);
    // The cell shows what is stored: trimmed, or the default name.
    if (Value(name) != cell)
        ListGrid.Set(LIST_NAME, name);
    return name;
}

bool Library::ListInserted()
{
    const String name = FixedListName();
    // The list and the positions its arrival shifted are one change.
    bool stored = false;
    std::vector<Value> keys;
    std::vector<int> changed;
    if (SqlSession* session = SQL.GetSession()) {
        SqlTransaction transaction(session);
        const Value id = transaction.IsOpen() ? StoreNewList(name) : Value();
        ListGrid.Set(LIST_ID, id);
        if (!id.IsNull()) {
            keys = ListKeys();
            changed = listOrder_.Changed(keys);
            stored = WriteListOrder(*session, keys, changed) && transaction.Commit();
        }
    }
    if (stored) {
        listOrder_.Written(keys, changed);
        return true;
    }
    ListGrid.Set(LIST_ID, Value());
    TellNotStored(Fill(Translate("The playlist %s could not be created"), {Quoted(name)}));
    return false;
}

bool Library::ListEdited()
{
    const String name = FixedListName();
    const Value id = ListGrid.Get(LIST_ID);
    if (id.IsNull() || StoreListName(id, name))
        return true;
    TellNotStored(Fill(Translate("The playlist could not be renamed to %s"), {Quoted(name)}),
                  Translate("It keeps its stored name."));
    return false;
}

void Library::FinishEditing()
{
    if (ListGrid.IsEditing())
        ListGrid.AcceptEdit();
}

void Library::ListRemoving()
{
    const int k = ListGrid.GetCurrentRow(true);
    const bool hasGrid = k >= 0 && k < static_cast<int>(trackLists_.size());
    // A row whose edit was cancelled before it was ever stored has no id and no records.
    const Value id = ListGrid.Get(LIST_ID);
    // A batch on its way into this playlist is stored first, so the delete takes it too.
    if (hasGrid && adder_.Adds().Target() == trackLists_[k].get())
        adder_.Adds().Settle();
    if (!id.IsNull() && !RemoveList(id)) {
        TellNotStored(Fill(Translate("The playlist %s could not be deleted"), {Quoted(ListGrid.Get(LIST_NAME).ToString())}),
                      Translate("It is still there."));
        ListGrid.KeepRemovedRow();
        return;
    }
    // Playback lets go of the grid before it is destroyed below.
    if (hasGrid)
        playback_.ListRemoved(*trackLists_[k]);
    if (!id.IsNull()) {
        listOrder_.Removed(id);
        trackOrders_.erase(id.ToInt64());
    }
    if (hasGrid) {
        adder_.Adds().Forget(*trackLists_[k]);
        trackLists_.erase(trackLists_.begin() + k);
    }
}

void Library::ListCursorChanged()
{
    const int k = ListGrid.GetCursor(true);
    if (k < 0)
        return;
    // A new row gets its grid once, the first time the cursor reaches it.
    if (ListGrid.IsNewRow() && trackLists_.size() < static_cast<size_t>(ListGrid.GetCount())) {
        ShowTrackList(NewTrackList(ListGrid.IsAppendedRow() ? -1 : k));
        return;
    }
    if (k < static_cast<int>(trackLists_.size()))
        ShowTrackList(*trackLists_[k]);
}

void Library::ShowTrackList(GridCtrl& tracks)
{
    if (WhenShowTrackList)
        WhenShowTrackList(tracks);
}

void Library::AddListFromFolder()
{
    FolderSelector& folders = adder_.Folders();
    if (!folders.ExecuteSelectDir(Translate("Select music folder")))
        return;
    AddListFrom(folders.Get());
}

void Library::AddListFrom(const std::vector<String>& paths)
{
    if (paths.empty())
        return;
    // A folder gives its whole name ("Vol. 2"), a playlist file its title.
    std::error_code error;
    const String& first = paths.front();
    const bool folder = std::filesystem::is_directory(first, error);
    if (AppendList(folder ? PathLastComponent(first) : FileTitle(first)))
        AddPaths(paths, true);
}

bool Library::AppendList(const String& name)
{
    ListGrid.DoAppendNoEdit();
    ListGrid.Set(LIST_NAME, name);
    if (!ListInserted()) {
        // Nothing may be added to a playlist that does not exist in the library.
        ListGrid.ClearSelection();
        ListGrid.DoRemove();
        return false;
    }
    ListGrid.RefreshRow(ListGrid.GetCursor());
    return true;
}
