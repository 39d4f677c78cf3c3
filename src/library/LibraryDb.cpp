#include "library/LibraryDb.h"

#include <algorithm>
#include <climits>

#include "core/AsciiCase.h"
#include "data/SqlTransaction.h"

namespace LibrarySql {

SqlSelect LoadLists()
{
    return SqlSelect(ID, NAME).From(LISTS).OrderBy(POS);
}

SqlSelect LoadTracks(const Value& list)
{
    return SqlSelect(IDPL, FILENAME, TITLE, ARTIST, ALBUM, LENGTH, YEAR, GENRE, TRACK)
        .From(PLAYLISTS)
        .Where(ID == list)
        .OrderBy(POS);
}

SqlInsert InsertDefaultList(const Value& name)
{
    return SqlInsert(LISTS)(NAME, name)(POS, 0);
}

SqlInsert InsertList(const Value& name)
{
    return SqlInsert(LISTS)(NAME, name);
}

SqlUpdate RenameList(const Value& list, const Value& name)
{
    return SqlUpdate(LISTS)(NAME, name).Where(ID == list);
}

SqlDelete DeleteListTracks(const Value& list)
{
    return SqlDelete(PLAYLISTS).Where(ID == list);
}

SqlDelete DeleteList(const Value& list)
{
    return SqlDelete(LISTS).Where(ID == list);
}

SqlInsert InsertTrack(const Value& list, int pos, const TrackFields& track)
{
    return SqlInsert(PLAYLISTS)(ID, list)(POS, pos)(FILENAME, track.file)(TITLE, track.title)(ARTIST, track.artist)(
        ALBUM, track.album)(LENGTH, track.length)(YEAR, track.year)(GENRE, track.genre)(TRACK, track.track);
}

SqlDelete DeleteTrack(const Value& entry)
{
    return SqlDelete(PLAYLISTS).Where(IDPL == entry);
}

}  // namespace LibrarySql

namespace {

const char* const kSchema[] = {
    "create table if not exists LISTS (ID integer primary key, NAME text, POS integer)",
    "create table if not exists PLAYLISTS (IDPL integer primary key, ID integer, POS integer, FILENAME text, "
    "TITLE text, ARTIST text, ALBUM text, LENGTH integer, YEAR integer, GENRE text, TRACK integer)",
    // Loading reads the entries list by list in POS order.
    "create index if not exists PLAYLISTS_ID_POS on PLAYLISTS(ID, POS)",
    // The user's choices that are not part of the window's state (SettingsDb.h).
    "create table if not exists SETTINGS (KEY text primary key, VALUE text)",
};

// Columns a PLAYLISTS table made without them gets added, with their types.
const char* const kDetailColumns[][2] = {{"YEAR", "integer"}, {"GENRE", "text"}, {"TRACK", "integer"}};

bool AddMissingDetailColumns(Sql& cursor)
{
    if (!cursor.Execute(String("pragma table_info(PLAYLISTS)")))
        return false;
    std::vector<String> present;
    while (cursor.Fetch())
        present.push_back(AsciiUpper(cursor[1].ToString()));
    for (const auto& [name, type] : kDetailColumns) {
        if (std::find(present.begin(), present.end(), name) != present.end())
            continue;
        if (!cursor.Execute("alter table PLAYLISTS add column " + String(name) + " " + type))
            return false;
    }
    return true;
}

// Keys are kept as int while they fit, as the grids hold them.
Value KeyValue(int64_t rowId)
{
    if (rowId > INT_MIN && rowId <= INT_MAX)
        return static_cast<int>(rowId);
    return rowId;
}

// Runs an insert on the default cursor and gives the new row's key, or Null.
Value InsertOnDefaultCursor(const SqlInsert& insert)
{
    Sql& cursor = SQL;
    SqlSession* session = cursor.GetSession();
    if (!session || !cursor.Execute(insert))
        return Value();
    return KeyValue(session->GetInsertedId());
}

}  // namespace

bool CreateLibraryTables(SqlSession& session)
{
    Sql cursor(session);
    SqlTransaction transaction(session);
    for (const char* statement : kSchema)
        if (!cursor.Execute(String(statement)))
            return false;
    if (!AddMissingDetailColumns(cursor))
        return false;
    return transaction.Commit();
}

std::vector<LoadedList> LoadLibrary(SqlSession& session)
{
    std::vector<LoadedList> lists;
    Sql listCursor(session);
    Sql trackCursor(session);
    if (!listCursor.Execute(LibrarySql::LoadLists()))
        return lists;
    while (listCursor.Fetch()) {
        LoadedList& list = lists.emplace_back();
        list.id = listCursor[0];
        list.name = listCursor[1];
        if (!trackCursor.Execute(LibrarySql::LoadTracks(list.id)))
            continue;
        while (trackCursor.Fetch()) {
            std::vector<Value> row = trackCursor.GetRow();
            list.details.push_back(row.size() >= 9 ? TrackDetails{row[6], row[7], row[8]} : TrackDetails{});
            row.resize(6);
            list.tracks.push_back(std::move(row));
        }
    }
    return lists;
}

Value StoreDefaultList(const String& name)
{
    return InsertOnDefaultCursor(LibrarySql::InsertDefaultList(name));
}

Value StoreNewList(const String& name)
{
    return InsertOnDefaultCursor(LibrarySql::InsertList(name));
}

bool StoreListName(const Value& list, const String& name)
{
    return SQL.Execute(LibrarySql::RenameList(list, name));
}

bool RemoveList(const Value& list)
{
    SqlTransaction transaction(SQL.GetSession());
    return transaction.IsOpen() && SQL.Execute(LibrarySql::DeleteListTracks(list)) &&
           SQL.Execute(LibrarySql::DeleteList(list)) && transaction.Commit();
}

Value StoreTrack(const Value& list, int pos, const TrackFields& track)
{
    return InsertOnDefaultCursor(LibrarySql::InsertTrack(list, pos, track));
}

bool RemoveTrack(const Value& entry)
{
    return SQL.Execute(LibrarySql::DeleteTrack(entry));
}

bool RemoveTracks(const std::vector<Value>& entries)
{
    SqlTransaction transaction(SQL.GetSession());
    if (!transaction.IsOpen())
        return false;
    // One compiled statement run per key: a selection of 100,000 rows is
    // deleted in a fraction of a second, not compiled (and logged) per row.
    Sql remove(*SQL.GetSession());
    if (!remove.Prepare(LibrarySql::DeleteTrackByKey))
        return false;
    for (const Value& entry : entries) {
        if (entry.IsNull())
            continue;
        remove.SetParam(0, entry);
        if (!remove.Execute())
            return false;
    }
    return transaction.Commit();
}

bool SavePositions(SqlSession& session, const std::vector<ListOrder>& order)
{
    SqlTransaction transaction(session);
    if (!transaction.IsOpen())
        return false;
    // Both are compiled before the loop, so the log shows both even when
    // there is no list or no track to save.
    Sql trackPos(session);
    Sql listPos(session);
    trackPos.Prepare(LibrarySql::SaveTrackPos);
    listPos.Prepare(LibrarySql::SaveListPos);
    for (size_t i = 0; i < order.size(); ++i) {
        const ListOrder& list = order[i];
        if (!listPos.Execute(static_cast<int>(i), list.list))
            return false;
        for (size_t j = 0; j < list.entries.size(); ++j)
            if (!trackPos.Execute(static_cast<int>(j), list.entries[j], list.list))
                return false;
    }
    return transaction.Commit();
}
