#pragma once

#include <vector>

#include "data/Sql.h"

// The library database: table LISTS (one row per playlist) and table PLAYLISTS
// (one row per track entry of a playlist). ID and IDPL are the tables' row ids;
// POS holds the display order, rewritten for everything at shutdown.

inline const SqlId LISTS{"LISTS"};
inline const SqlId PLAYLISTS{"PLAYLISTS"};
inline const SqlId ID{"ID"};
inline const SqlId NAME{"NAME"};
inline const SqlId POS{"POS"};
inline const SqlId IDPL{"IDPL"};
inline const SqlId FILENAME{"FILENAME"};
inline const SqlId LENGTH{"LENGTH"};
inline const SqlId TITLE{"TITLE"};
inline const SqlId ARTIST{"ARTIST"};
inline const SqlId ALBUM{"ALBUM"};
// Nullable details of a track, read from its tags when it is added.
inline const SqlId YEAR{"YEAR"};
inline const SqlId GENRE{"GENRE"};
inline const SqlId TRACK{"TRACK"};

inline constexpr char kDefaultListName[] = "Playlist 1";

// What one track entry stores; year, genre and track number may be Null.
struct TrackFields {
    Value file;
    Value title;
    Value artist;
    Value album;
    Value length;
    Value year;
    Value genre;
    Value track;
};

// The library's statements. `list` is a LISTS.ID, `entry` a PLAYLISTS.IDPL.
namespace LibrarySql {

SqlSelect LoadLists();
SqlSelect LoadTracks(const Value& list);
SqlInsert InsertDefaultList(const Value& name);
SqlInsert InsertList(const Value& name);
SqlUpdate RenameList(const Value& list, const Value& name);
SqlDelete DeleteListTracks(const Value& list);
SqlDelete DeleteList(const Value& list);
SqlInsert InsertTrack(const Value& list, int pos, const TrackFields& track);
SqlDelete DeleteTrack(const Value& entry);

// Fixed texts with parameters (display index, ID) and (display index, IDPL, ID).
inline constexpr char SaveListPos[] = "update lists set pos = ? where id = ?";
inline constexpr char SaveTrackPos[] = "update playlists set pos = ? where idpl = ? and id = ?";
// DeleteTrack with the key as a parameter: compiled once for a removal of many rows.
inline constexpr char DeleteTrackByKey[] = "delete from PLAYLISTS where IDPL = ?";

}  // namespace LibrarySql

// Creates the two tables and the index that loading uses when they are
// missing, and adds the YEAR, GENRE and TRACK columns to a PLAYLISTS table
// made without them. False (and nothing changed) when the database cannot take them, for
// instance a file that is not a database; the error is recorded in the session.
bool CreateLibraryTables(SqlSession& session);

// What an entry stores besides the track grid's cells; each may be Null.
struct TrackDetails {
    Value year;   // integer
    Value genre;  // text
    Value track;  // integer: the track number
};

// One playlist as loaded: its ID and NAME, and its entries in POS order, each
// a row of the track grid's cells: IDPL, FILENAME, TITLE, ARTIST, ALBUM, LENGTH;
// `details` runs parallel to `tracks`.
struct LoadedList {
    Value id;
    Value name;
    std::vector<std::vector<Value>> tracks;
    std::vector<TrackDetails> details;
};

// Every list in POS order with its entries in POS order. Entries of missing
// lists are never loaded. An empty result asks the caller for the default list.
std::vector<LoadedList> LoadLibrary(SqlSession& session);

// The single statements below run on the default cursor SQL. The inserts give
// the new row's key, or Null when the insert failed (never a stale row id).
Value StoreDefaultList(const String& name = kDefaultListName);
Value StoreNewList(const String& name);
bool StoreListName(const Value& list, const String& name);
// Deletes the list's entries and the list in one transaction; on failure the
// transaction is rolled back, so nothing is lost.
bool RemoveList(const Value& list);
// The caller brackets a batch of inserts in one transaction (session Begin/Commit).
Value StoreTrack(const Value& list, int pos, const TrackFields& track);
bool RemoveTrack(const Value& entry);
// Deletes the entries in one transaction: all of them, or none on failure.
bool RemoveTracks(const std::vector<Value>& entries);

// The display order at shutdown: every list in display order with the IDPLs of
// its entries in display order.
struct ListOrder {
    Value list;
    std::vector<Value> entries;
};

// Writes each list's index to its POS and each entry's index within its list
// to its POS, all in one transaction; false (nothing written) on failure.
bool SavePositions(SqlSession& session, const std::vector<ListOrder>& order);
