// The library under a database that refuses writes: locked by another program,
// read-only, or on a full disk. Each refused user action is told once, and the
// window shows what is stored.

#include <fstream>
#include <sys/stat.h>

#include "LibraryHarness.h"
#include "support/OtherConnection.h"
#include "support/WithoutFileOverride.h"

namespace {

class LibraryFaultTest : public LibraryHarness {
protected:
    void SetUp() override
    {
        LibraryHarness::SetUp();
        session.SetBusyTimeout(50);
    }
    void TearDown() override
    {
        other.Close();
        chmod(dir.File("QuillonPlayer.db3").c_str(), 0644);
        LibraryHarness::TearDown();
    }

    // Reopens the library with its file read-only, as a user without write
    // permission would find it.
    void MakeReadOnly()
    {
        WithoutFileOverride asUser;
        binding.reset();
        session.Close();
        chmod(dir.File("QuillonPlayer.db3").c_str(), 0444);
        ASSERT_TRUE(session.Open(dir.File("QuillonPlayer.db3")));
        binding.emplace(session);
    }

    std::vector<String> StoredTitles() { return Query("select TITLE from PLAYLISTS order by POS"); }

    OtherConnection other{dir.File("QuillonPlayer.db3")};
};

}  // namespace

TEST_F(LibraryFaultTest, APlaylistCreatedWhileTheLibraryIsLockedIsToldAndNotShown)
{
    other.Run("BEGIN EXCLUSIVE");
    AddList("Jazz");
    other.Run("COMMIT");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "The playlist \"Jazz\" could not be created: the library is locked by another program.");
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_EQ(Lib().TrackLists().size(), 1u);
    EXPECT_EQ(StoredLists(), std::vector<String>{"Playlist 1@0"});

    // Once the lock is gone the same action works, and its position is stored at once.
    AddList("Jazz");
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(StoredLists(), (std::vector<String>{"Playlist 1@0", "Jazz@1"}));
}

TEST_F(LibraryFaultTest, PlaylistFilesLoadedWhileTheLibraryIsLockedAreToldOnceAndNotShown)
{
    const String song = music_fixtures::MakeMp3(dir.Path() / "music" / "song.mp3", "Song");
    for (const char* name : {"one.m3u", "two.m3u"})
        std::ofstream(dir.File(name)) << song << "\n";
    Answer(std::vector<String>{dir.File("one.m3u"), dir.File("two.m3u")});
    other.Run("BEGIN EXCLUSIVE");
    Lib().PlaylistCommands().Load();
    WaitForAdds();
    other.Run("COMMIT");
    EXPECT_EQ(prompts, std::vector<String>{
                           "The playlist \"one\" could not be created: the library is locked by another program."});
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_EQ(Lib().TrackLists().size(), 1u);
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(StoredLists(), std::vector<String>{"Playlist 1@0"});
    EXPECT_TRUE(StoredTitles().empty());
}

TEST_F(LibraryFaultTest, ARenameRefusedByALockShowsTheStoredNameAgain)
{
    AddList("Jazz");
    other.Run("BEGIN EXCLUSIVE");
    Rename(1, "Blues");
    other.Run("COMMIT");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "The playlist could not be renamed to \"Blues\": the library is locked by another "
                          "program. It keeps its stored name.");
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "Jazz"}));
    EXPECT_EQ(Query("select NAME from LISTS order by POS"), (std::vector<String>{"Playlist 1", "Jazz"}));
}

TEST_F(LibraryFaultTest, DeletionsFromAReadOnlyLibraryKeepEveryRow)
{
    AddList("Jazz");
    Lists().SetCursor(0);
    AddTracks({"A", "B", "C"});
    MakeReadOnly();

    // Two selected tracks: one message for both, both rows stay.
    Tracks().Select(0);
    Tracks().Select(2);
    Tracks().DoRemove();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "The 2 selected tracks could not be deleted: the library file is read-only. They are "
                          "all still there.");
    EXPECT_EQ(Titles(), (std::vector<String>{"A", "B", "C"}));

    // A playlist: the row and its tracks stay.
    Lists().ClearSelection();
    Lists().SetCursor(1);
    Lists().DoRemove();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1], "The playlist \"Jazz\" could not be deleted: the library file is read-only. It is still "
                          "there.");
    EXPECT_EQ(ListNames(), (std::vector<String>{"Playlist 1", "Jazz"}));
    EXPECT_EQ(Lib().TrackLists().size(), 2u);
    EXPECT_EQ(TitlesOf(0), (std::vector<String>{"A", "B", "C"}));
    EXPECT_EQ(StoredLists(), (std::vector<String>{"Playlist 1@0", "Jazz@1"}));
    EXPECT_EQ(StoredTitles(), (std::vector<String>{"A", "B", "C"}));
}

TEST_F(LibraryFaultTest, ARenameThatNeedsRoomOnAFullDiskIsRefused)
{
    Sql cursor(session);
    ASSERT_TRUE(cursor.Execute(String("PRAGMA page_count")) && cursor.Fetch());
    ASSERT_TRUE(cursor.Execute(String("PRAGMA max_page_count = " + cursor[0].ToString())));
    const String longName(20000, 'x');
    Rename(0, longName);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "The playlist could not be renamed to \"" + longName +
                              "\": the disk is full. It keeps its stored name.");
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_EQ(Query("select NAME from LISTS"), std::vector<String>{"Playlist 1"});
}
