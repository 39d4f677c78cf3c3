#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>

#include "data/Log.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/SettingsDb.h"
#include "library/TrackInserter.h"
#include "support/LibraryFixture.h"
#include "support/ReadFile.h"
#include "support/TempDir.h"

namespace {

// A library database in a fresh folder with the default cursor bound to it,
// and a main log of its own.
class LibraryDbTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        MainLog().SetFileName(dir.File("main.log"));
        LibraryFixture::SetUp();
    }
    void TearDown() override
    {
        LibraryFixture::TearDown();
        MainLog().Close();
    }

    Value AddTrack(const Value& list, int pos, const String& file)
    {
        return StoreTrack(list, pos, {file, "Title " + file, Value(), "Album", 1000 + pos});
    }

    static std::vector<String> Names(const std::vector<LoadedList>& lists)
    {
        std::vector<String> names;
        for (const LoadedList& list : lists)
            names.push_back(list.name.ToString());
        return names;
    }
};

}  // namespace

TEST(LibrarySqlTest, StatementsAreBuiltAsTheLibraryWritesThem)
{
    using namespace LibrarySql;
    EXPECT_EQ(LoadLists().ToString(), "select ID, NAME from LISTS order by POS");
    EXPECT_EQ(LoadTracks(3).ToString(),
              "select IDPL, FILENAME, TITLE, ARTIST, ALBUM, LENGTH, YEAR, GENRE, TRACK from PLAYLISTS where ID = 3 "
              "order by POS");
    EXPECT_EQ(InsertDefaultList("Playlist 1").ToString(), "insert into LISTS(NAME, POS) values ('Playlist 1', 0)");
    EXPECT_EQ(InsertList("Rock'n'roll").ToString(), "insert into LISTS(NAME) values ('Rock''n''roll')");
    EXPECT_EQ(RenameList(3, "New").ToString(), "update LISTS set NAME = 'New' where ID = 3");
    EXPECT_EQ(DeleteListTracks(3).ToString(), "delete from PLAYLISTS where ID = 3");
    EXPECT_EQ(DeleteList(3).ToString(), "delete from LISTS where ID = 3");
    EXPECT_EQ(InsertTrack(3, 0, {"/m/a.mp3", "A", Value(), 7, 61000, 1999, "", Value()}).ToString(),
              "insert into PLAYLISTS(ID, POS, FILENAME, TITLE, ARTIST, ALBUM, LENGTH, YEAR, GENRE, TRACK) values "
              "(3, 0, '/m/a.mp3', 'A', NULL, 7, 61000, 1999, NULL, NULL)");
    EXPECT_EQ(DeleteTrack(9).ToString(), "delete from PLAYLISTS where IDPL = 9");
}

TEST_F(LibraryDbTest, FirstStartCreatesBothTablesAndTheLoadIndexOnce)
{
    ASSERT_TRUE(CreateLibraryTables(session));  // a second run finds them
    Sql sql(session);
    ASSERT_TRUE(sql.Execute(String("select name from sqlite_master order by name")));
    std::vector<String> names;
    while (sql.Fetch())
        names.push_back(sql[0].ToString());
    EXPECT_EQ(names, (std::vector<String>{"LISTS", "PLAYLISTS", "PLAYLISTS_ID_POS", "SETTINGS",
                                          "sqlite_autoindex_SETTINGS_1"}));
    EXPECT_TRUE(LoadLibrary(session).empty());
}

TEST_F(LibraryDbTest, SettingsAreStoredReplacedAndAddedToAnOlderLibrary)
{
    EXPECT_TRUE(LoadSetting(session, "LANGUAGE").IsNull());
    ASSERT_TRUE(StoreSetting(session, "LANGUAGE", "PLPL"));
    ASSERT_TRUE(StoreSetting(session, "LANGUAGE", "ENUS"));
    ASSERT_TRUE(StoreSetting(session, "O'Key", "it's"));
    EXPECT_EQ(LoadSetting(session, "LANGUAGE").ToString(), "ENUS");
    EXPECT_EQ(LoadSetting(session, "O'Key").ToString(), "it's");
    EXPECT_EQ(Query("select count(*) from SETTINGS"), std::vector<String>{"2"});

    // A library from before the table: reading finds nothing, starting adds the
    // table and leaves the playlists alone.
    const Value list = StoreDefaultList();
    Query("drop table SETTINGS");
    EXPECT_TRUE(LoadSetting(session, "LANGUAGE").IsNull());
    EXPECT_FALSE(StoreSetting(session, "LANGUAGE", "PLPL"));
    ASSERT_TRUE(CreateLibraryTables(session));
    EXPECT_TRUE(StoreSetting(session, "LANGUAGE", "PLPL"));
    EXPECT_EQ(LoadSetting(session, "LANGUAGE").ToString(), "PLPL");
    EXPECT_EQ(Query("select NAME from LISTS"), std::vector<String>{"Playlist 1"});
}

TEST_F(LibraryDbTest, ListsAndTracksRoundTripInPositionOrder)
{
    const Value first = StoreDefaultList();
    const Value second = StoreNewList("O'Brien");
    const Value twin = StoreNewList("O'Brien");
    ASSERT_FALSE(first.IsNull());
    EXPECT_NE(second, twin);
    ASSERT_TRUE(StoreListName(twin, "Twin"));
    const Value a = AddTrack(second, 0, "/m/a.mp3");
    const Value again = AddTrack(second, 1, "/m/a.mp3");
    EXPECT_NE(a, again);

    // Lists added during a run have no position yet and load first.
    const std::vector<LoadedList> lists = LoadLibrary(session);
    EXPECT_EQ(Names(lists), (std::vector<String>{"O'Brien", "Twin", "Playlist 1"}));
    ASSERT_EQ(lists[0].tracks.size(), 2u);
    EXPECT_EQ(lists[0].tracks[0], (std::vector<Value>{a, "/m/a.mp3", "Title /m/a.mp3", Value(), "Album", 1000}));
    EXPECT_EQ(lists[0].tracks[1][0], again);

    ASSERT_TRUE(RemoveTrack(a));
    EXPECT_EQ(LoadLibrary(session)[0].tracks.size(), 1u);
}

TEST_F(LibraryDbTest, YearGenreAndTrackNumberAreStoredAndLoadedBesideTheGridCells)
{
    const Value list = StoreNewList("Details");
    const TrackFields full{"/m/a.flac", "A", "Artist", "Album", 1000, 2019, "Test Tones", 3};
    const TrackFields bare{"/m/b.wav", "B", Value(), Value(), 2000};
    ASSERT_FALSE(StoreTrack(list, 0, full).IsNull());
    {
        TrackInserter inserter(&session);
        ASSERT_FALSE(inserter.Insert(list, 1, bare).IsNull());
        ASSERT_FALSE(inserter.Insert(list, 2, full).IsNull());
    }
    const std::vector<LoadedList> lists = LoadLibrary(session);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].tracks.size(), 3u);
    ASSERT_EQ(lists[0].details.size(), 3u);
    for (const std::vector<Value>& row : lists[0].tracks)
        EXPECT_EQ(row.size(), 6u);  // the grid's cells only
    for (int i : {0, 2}) {
        EXPECT_EQ(lists[0].details[i].year, Value(2019));
        EXPECT_EQ(lists[0].details[i].genre.ToString(), "Test Tones");
        EXPECT_EQ(lists[0].details[i].track, Value(3));
    }
    EXPECT_TRUE(lists[0].details[1].year.IsNull());
    EXPECT_TRUE(lists[0].details[1].genre.IsNull());
    EXPECT_TRUE(lists[0].details[1].track.IsNull());
}

TEST(LibraryDbFileTest, ATrackTableWithoutDetailColumnsGetsThemAndKeepsItsRows)
{
    TempDir dir;
    MainLog().SetFileName(dir.File("main.log"));
    Sqlite3Session session;
    ASSERT_TRUE(session.Open(dir.File("QuillonPlayer.db3")));
    {
        Sql sql(session);
        ASSERT_TRUE(sql.Execute(String("create table LISTS (ID integer primary key, NAME text, POS integer)")));
        ASSERT_TRUE(sql.Execute(String("create table PLAYLISTS (IDPL integer primary key, ID integer, POS integer, "
                                       "FILENAME text, TITLE text, ARTIST text, ALBUM text, LENGTH integer)")));
        ASSERT_TRUE(sql.Execute(String("insert into LISTS values (1, 'Old', 0)")));
        ASSERT_TRUE(sql.Execute(String("insert into PLAYLISTS values (5, 1, 0, '/m/old.mp3', 'Old', NULL, NULL, 9)")));
    }
    ASSERT_TRUE(CreateLibraryTables(session));
    ASSERT_TRUE(CreateLibraryTables(session));  // a second start finds the columns
    SQL = session;
    EXPECT_FALSE(StoreTrack(1, 1, {"/m/new.mp3", "New", Value(), Value(), 7, 2001, "Jazz", 2}).IsNull());
    const std::vector<LoadedList> lists = LoadLibrary(session);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].tracks.size(), 2u);
    EXPECT_EQ(lists[0].tracks[0], (std::vector<Value>{5, "/m/old.mp3", "Old", Value(), Value(), 9}));
    EXPECT_TRUE(lists[0].details[0].year.IsNull());
    EXPECT_EQ(lists[0].details[1].genre.ToString(), "Jazz");
    SQL.Detach();
    MainLog().Close();
}

TEST_F(LibraryDbTest, RemovingAListRemovesItsTracks)
{
    const Value keep = StoreNewList("Keep");
    const Value gone = StoreNewList("Gone");
    AddTrack(keep, 0, "/m/k.mp3");
    AddTrack(gone, 0, "/m/g.mp3");
    ASSERT_TRUE(RemoveList(gone));
    Sql sql(session);
    ASSERT_TRUE(sql.Execute(String("select count(*) from PLAYLISTS")));
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value(1));
    EXPECT_EQ(Names(LoadLibrary(session)), (std::vector<String>{"Keep"}));
}

TEST_F(LibraryDbTest, FailedInsertGivesNoKeyRatherThanAnEarlierRowsId)
{
    const Value list = StoreNewList("List");
    ASSERT_FALSE(AddTrack(list, 0, "/m/a.mp3").IsNull());
    Sql sql(session);
    ASSERT_TRUE(sql.Execute(String("drop table PLAYLISTS")));
    EXPECT_TRUE(AddTrack(list, 1, "/m/b.mp3").IsNull());
    EXPECT_NE(session.GetLastError(), "");
}

TEST_F(LibraryDbTest, SavedPositionsRestoreAMovedOrder)
{
    std::vector<ListOrder> order;
    for (const char* name : {"One", "Two", "Three"}) {
        const Value list = StoreNewList(name);
        ListOrder& saved = order.emplace_back(ListOrder{list, {}});
        for (int j = 0; j < 3; ++j)
            saved.entries.push_back(AddTrack(list, j, String(name) + std::to_string(j)));
    }
    // The third list moves to the first place, and its last track to the top.
    std::rotate(order.begin(), order.begin() + 2, order.end());
    std::rotate(order[0].entries.begin(), order[0].entries.begin() + 2, order[0].entries.end());
    SavePositions(session, order);
    EXPECT_EQ(session.GetLastError(), "");

    const std::vector<LoadedList> lists = LoadLibrary(session);
    EXPECT_EQ(Names(lists), (std::vector<String>{"Three", "One", "Two"}));
    std::vector<String> files;
    for (const std::vector<Value>& track : lists[0].tracks)
        files.push_back(track[1].ToString());
    EXPECT_EQ(files, (std::vector<String>{"Three2", "Three0", "Three1"}));
}

TEST_F(LibraryDbTest, SavingPositionsCompilesBothStatementsEvenWithNothingToSave)
{
    // No list at all, and a list without tracks.
    const std::vector<ListOrder> orders[] = {{}, {{StoreNewList("Empty"), {}}}};
    for (const std::vector<ListOrder>& order : orders) {
        MainLog().Flush();
        const size_t logged = ReadFile(dir.File("main.log")).size();
        SavePositions(session, order);
        EXPECT_EQ(session.GetLastError(), "");
        MainLog().Flush();
        const String log = ReadFile(dir.File("main.log")).substr(logged);
        const size_t track = log.find(String("Compile(") + LibrarySql::SaveTrackPos + ")");
        const size_t list = log.find(String("Compile(") + LibrarySql::SaveListPos + ")");
        EXPECT_NE(track, String::npos) << log;
        EXPECT_NE(list, String::npos) << log;
        EXPECT_LT(track, list);
    }
}

TEST(LibraryDbFileTest, AFileThatIsNotADatabaseIsLeftAlone)
{
    TempDir dir;
    MainLog().SetFileName(dir.File("main.log"));
    const String name = dir.File("QuillonPlayer.db3");
    const String bytes(3000, 'q');
    std::ofstream(name, std::ios::binary) << bytes;
    {
        Sqlite3Session session;
        ASSERT_TRUE(session.Open(name));
        EXPECT_FALSE(CreateLibraryTables(session));
        EXPECT_TRUE(LoadLibrary(session).empty());
        EXPECT_NE(session.GetLastError(), "");
    }
    EXPECT_EQ(ReadFile(name), bytes);
    MainLog().Close();
}
