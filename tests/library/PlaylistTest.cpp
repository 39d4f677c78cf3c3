#include "LibraryHarness.h"
#include "MusicFixtures.h"

using music_fixtures::MakeMp3;

namespace {

class PlaylistTest : public LibraryHarness {
protected:
    // Adds one tagged file to the playlist at a display row.
    void AddTitled(int listRow, const String& title)
    {
        Lists().SetCursor(listRow);
        AddTracks({title});
    }
};

} // namespace

TEST_F(PlaylistTest, FirstStartMakesTheStoredDefaultPlaylist)
{
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_EQ(StoredLists(), std::vector<String>{"Playlist 1@0"});
    const String id = Query("select ID from LISTS")[0];
    EXPECT_EQ(Lists().Get(0, LIST_ID).ToString(), id);
    EXPECT_EQ(Lib().TrackLists().size(), 1u);
    EXPECT_EQ(Lists().GetCursor(), 0);

    AddTitled(0, "Song");
    EXPECT_EQ(Query("select ID from PLAYLISTS"), std::vector<String>{id});
}

TEST_F(PlaylistTest, NamesAreTrimmedAndBlankNamesGetTheDefault)
{
    AddList("Rock");
    AddList("  Jazz \t");
    AddList(" \t ");
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "Rock", "Jazz", "Playlist 4"}));
    EXPECT_EQ(Query("select NAME from LISTS order by ID"),
              (std::vector<String>{"Playlist 1", "Rock", "Jazz", "Playlist 4"}));
    // A blank rename counts the playlists as they are, even if that name exists.
    Rename(1, "   ");
    EXPECT_EQ(ListNames()[1], "Playlist 4");
    EXPECT_EQ(Query("select NAME from LISTS order by ID")[1], "Playlist 4");
    EXPECT_EQ(Lib().TrackLists().size(), 4u);
}

TEST_F(PlaylistTest, QuotedNamesSurviveARestart)
{
    AddList("Rock 'n' Roll");
    Rename(0, "It's \"mine\" — Zażółć");
    Restart();
    EXPECT_EQ(ListNames(), (std::vector<String>{"It's \"mine\" — Zażółć", "Rock 'n' Roll"}));
}

TEST_F(PlaylistTest, NamesBeingTypedWhenTheWindowClosesAreKept)
{
    Lists().DoAppend();
    Lib().NameEditor.setText("Unfinished");
    Lists().SetCursor(0);
    ASSERT_FALSE(Lists().IsEditing());  // moving the cursor accepted the new row
    ASSERT_TRUE(Lists().StartEdit());
    Lib().NameEditor.setText("Renamed");
    Lib().FinishEditing();
    EXPECT_FALSE(Lists().IsEditing());
    Restart();
    EXPECT_EQ(ListNames(), (std::vector<String>{"Renamed", "Unfinished"}));

    Lists().DoAppend();
    Lib().NameEditor.setText("Typed at exit");
    Lib().FinishEditing();
    Restart();
    EXPECT_EQ(ListNames(), (std::vector<String>{"Renamed", "Unfinished", "Typed at exit"}));
}

TEST_F(PlaylistTest, InsertKeepsEveryPlaylistsOwnTracks)
{
    AddList("B");
    AddList("C");
    AddTitled(0, "a1");
    AddTitled(1, "b1");
    AddTitled(2, "c1");

    Lists().SetCursor(1);
    InsertList("New");
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "New", "B", "C"}));
    EXPECT_TRUE(TitlesOf(1).empty());
    EXPECT_EQ(TitlesOf(0), std::vector<String>{"a1"});
    EXPECT_EQ(TitlesOf(2), std::vector<String>{"b1"});
    EXPECT_EQ(TitlesOf(3), std::vector<String>{"c1"});
    // The right pane follows the cursor.
    EXPECT_EQ(parts->shown, &Tracks());

    AddTitled(1, "new1");
    Restart();
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "New", "B", "C"}));
    EXPECT_EQ(TitlesOf(1), std::vector<String>{"new1"});
    EXPECT_EQ(TitlesOf(3), std::vector<String>{"c1"});
}

TEST_F(PlaylistTest, MovedPlaylistKeepsItsTracksAndItsPlaceAfterRestart)
{
    AddList("B");
    AddList("C");
    AddTitled(2, "c1");
    Lists().SetCursor(2);
    Lists().MoveRowUp();
    Lists().MoveRowUp();
    EXPECT_EQ(ListNames(), (std::vector<String>{"C", "Playlist 1", "B"}));
    EXPECT_EQ(TitlesOf(0), std::vector<String>{"c1"});
    EXPECT_TRUE(TitlesOf(2).empty());

    Restart();
    EXPECT_EQ(ListNames(), (std::vector<String>{"C", "Playlist 1", "B"}));
    EXPECT_EQ(StoredLists(), (std::vector<String>{"C@0", "Playlist 1@1", "B@2"}));
    EXPECT_EQ(TitlesOf(0), std::vector<String>{"c1"});
}

TEST_F(PlaylistTest, RemovingAPlaylistDeletesItsRecordsAndShiftsTheGrids)
{
    AddList("B");
    AddList("C");
    AddTitled(1, "b1");
    AddTitled(2, "c1");
    const String idB = Lists().Get(1, LIST_ID).ToString();

    Lists().SetCursor(1);
    Lists().DoRemove();
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "C"}));
    EXPECT_EQ(Lib().TrackLists().size(), 2u);
    EXPECT_TRUE(Query("select IDPL from PLAYLISTS where ID = " + idB).empty());
    EXPECT_TRUE(Query("select ID from LISTS where ID = " + idB).empty());
    EXPECT_EQ(Titles(), std::vector<String>{"c1"});
    EXPECT_EQ(parts->shown, &Tracks());
    EXPECT_EQ(TitlesOf(0), std::vector<String>{});
}

TEST_F(PlaylistTest, TheLastPlaylistCannotBeRemoved)
{
    Bar bar;
    Lib().ListMenu(bar);
    const auto& items = bar.Items();
    const auto remove = std::find_if(items.begin(), items.end(), [](const BarItem& i) { return i.GetText() == "Delete"; });
    ASSERT_NE(remove, items.end());
    EXPECT_FALSE(remove->IsEnabled());
    Lists().DoRemove();
    Lists().SelectAll();
    Lists().DoRemove();
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_EQ(Lib().TrackLists().size(), 1u);
    EXPECT_EQ(StoredLists().size(), 1u);
}

TEST_F(PlaylistTest, CancellingANewPlaylistDropsItsGrid)
{
    AddTitled(0, "a1");
    Lists().DoAppend();
    EXPECT_EQ(Lib().TrackLists().size(), 2u);
    Lists().CancelEdit();
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_EQ(Lib().TrackLists().size(), 1u);
    EXPECT_EQ(TitlesOf(0), std::vector<String>{"a1"});
    EXPECT_EQ(StoredLists().size(), 1u);
}

TEST_F(PlaylistTest, AddFolderMakesAPlaylistNamedAfterTheFolder)
{
    const auto jazz = dir.Path() / "Music" / "Jazz";
    MakeMp3(jazz / "01 So What.mp3", "So What");
    MakeMp3(jazz / "cd2" / "02 Blue.mp3", "Blue");
    MakeMp3(jazz / "notes.txt.mp3.bak");
    Answer(std::vector<String>{jazz.string()});
    Lib().AddListFromFolder();
    WaitForAdds();

    EXPECT_EQ(requests.back().title, "Select music folder");
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "Jazz"}));
    EXPECT_EQ(Lists().GetCursor(), 1);
    EXPECT_EQ(Titles(), (std::vector<String>{"So What", "Blue"}));
    const String id = Lists().Get(1, LIST_ID).ToString();
    EXPECT_EQ(Query("select TITLE from PLAYLISTS where ID = " + id + " order by POS"),
              (std::vector<String>{"So What", "Blue"}));

    // A cancelled selector changes nothing.
    Lib().AddListFromFolder();
    WaitForAdds();
    EXPECT_EQ(ListNames().size(), 2u);
}
