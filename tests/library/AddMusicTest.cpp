#include <algorithm>
#include <fstream>
#include <sstream>

#include "LibraryHarness.h"
#include "MusicFixtures.h"
#include "library/MusicFiles.h"

using music_fixtures::MakeMp3;

namespace {

class AddMusicTest : public LibraryHarness {
protected:
    // Three tagged files A, B, C.
    std::vector<String> Abc()
    {
        return {MakeMp3(dir.Path() / "in" / "a.mp3", "A", "Artist A", "Album"),
                MakeMp3(dir.Path() / "in" / "b.mp3", "B", "Artist B", "Album"),
                MakeMp3(dir.Path() / "in" / "c.mp3", "C", "Artist C", "Album")};
    }
    std::vector<String> StoredTitles()
    {
        const String list = Lists().Get(Lists().GetCursor(), LIST_ID).ToString();
        return Query("select TITLE from PLAYLISTS where ID = " + list + " order by POS, IDPL");
    }
};

} // namespace

TEST_F(AddMusicTest, AddFilesAppendsInOrderAndStoresEveryCell)
{
    Answer(Abc());
    Lib().AddFiles(true);
    WaitForAdds();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Select music file");
    EXPECT_TRUE(requests[0].multi);
    ASSERT_FALSE(requests[0].types.empty());
    EXPECT_EQ(requests[0].types, MusicFileTypes());

    EXPECT_EQ(Titles(), (std::vector<String>{"A", "B", "C"}));
    EXPECT_EQ(Tracks().GetCursor(), 2);
    const String id = Tracks().Get(0, TRACK_ID).ToString();
    const std::vector<String> stored = Query("select IDPL, POS, FILENAME, TITLE, ARTIST, ALBUM, LENGTH > 900 "
                                             "from PLAYLISTS where TITLE = 'A'");
    EXPECT_EQ(stored, std::vector<String>{id + "|0|" + dir.File("in/a.mp3") + "|A|Artist A|Album|1"});
    EXPECT_GT(Tracks().Get(0, TRACK_LENGTH).ToInt(), 900);
    EXPECT_TRUE(prompts.empty());

    // A cancelled selector adds nothing.
    Lib().AddFiles(true);
    WaitForAdds();
    EXPECT_EQ(Tracks().GetCount(), 3);
}

TEST_F(AddMusicTest, InsertFilesPutsThemReversedAboveTheCursorRow)
{
    Answer(std::vector<String>{MakeMp3(dir.Path() / "x.mp3", "X"), MakeMp3(dir.Path() / "y.mp3", "Y")});
    Lib().AddFiles(true);
    WaitForAdds();
    Tracks().SetCursor(1);
    Answer(Abc());
    Lib().AddFiles(false);
    WaitForAdds();
    EXPECT_EQ(Titles(), (std::vector<String>{"X", "C", "B", "A", "Y"}));
    // Stored at once in the order shown, the rows moved down included.
    EXPECT_EQ(Query("select TITLE from PLAYLISTS order by POS"), (std::vector<String>{"X", "C", "B", "A", "Y"}));

    Restart();
    EXPECT_EQ(Titles(), (std::vector<String>{"X", "C", "B", "A", "Y"}));
    EXPECT_EQ(StoredTitles(), (std::vector<String>{"X", "C", "B", "A", "Y"}));
}

TEST_F(AddMusicTest, InsertingIntoAnEmptyPlaylistAppends)
{
    Answer(Abc());
    Lib().AddFiles(false);
    WaitForAdds();
    EXPECT_EQ(Titles(), (std::vector<String>{"A", "B", "C"}));
    Answer(std::vector<String>{(dir.Path() / "in").string()});
    Tracks().SetCursor(0);
    Lib().AddFolder(false);
    WaitForAdds();
    EXPECT_EQ(Titles(), (std::vector<String>{"C", "B", "A", "A", "B", "C"}));
}

TEST_F(AddMusicTest, MissingTagsGiveTheFileTitleAndNulls)
{
    Answer(std::vector<String>{MakeMp3(dir.Path() / "My Song.mp3"), MakeMp3(dir.Path() / "a.b.mp3", " \t")});
    Lib().AddFiles(true);
    WaitForAdds();
    EXPECT_EQ(Titles(), (std::vector<String>{"My Song", "a.b"}));
    EXPECT_TRUE(Tracks().Get(0, TRACK_ARTIST).IsNull());
    EXPECT_EQ(Query("select TITLE, ARTIST is null, ALBUM is null from PLAYLISTS order by IDPL"),
              (std::vector<String>{"My Song|1|1", "a.b|1|1"}));
}

TEST_F(AddMusicTest, AFileThatCannotBeReadIsReportedOnceAndNeitherShownNorStored)
{
    const String broken = dir.File("broken.mp3");
    std::ofstream(broken) << "not music at all";
    Answer(std::vector<String>{broken, MakeMp3(dir.Path() / "ok.mp3", "OK")});
    Lib().AddFiles(true);
    WaitForAdds();

    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Added 1 file; 1 could not be added.");
    EXPECT_EQ(promptDetails[0], broken + ": not an audio file\n");
    EXPECT_EQ(Titles(), std::vector<String>{"OK"});
    EXPECT_EQ(Query("select TITLE from PLAYLISTS"), std::vector<String>{"OK"});

    // A file chosen on its own gets a message of its own, naming it.
    Answer(std::vector<String>{broken});
    Lib().AddFiles(true);
    WaitForAdds();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1], "Cannot add \"broken.mp3\": not an audio file.");
    EXPECT_EQ(Titles(), std::vector<String>{"OK"});
}

TEST_F(AddMusicTest, AddFolderTakesEveryMusicFileOnceAndStoresNamesExactly)
{
    const auto root = dir.Path() / "library";
    std::vector<String> expected;
    const std::vector<String> names = {"with space.mp3", "it's \"quoted\".mp3", "Zażółć gęślą.MP3",
                                       String("bad\xff\xfe name.mp3"), "back\\slash:colon.mp3"};
    for (const String& name : names)
        MakeMp3(root / "odd" / name);
    for (int folder = 0; folder < 3; ++folder)
        for (int file = 0; file < 4; ++file)
            MakeMp3(root / ("cd" + std::to_string(folder)) / ("t" + std::to_string(file) + ".mp3"));
    std::ofstream((root / "readme.txt").string()) << "x";
    std::filesystem::create_directory_symlink(root, root / "odd" / "loop");

    Answer(std::vector<String>{root.string()});
    Lib().AddFolder(true);
    WaitForAdds();
    EXPECT_EQ(Tracks().GetCount(), 17);
    const std::vector<String> files = Column(Tracks(), TRACK_FILE);
    for (const String& name : names)
        EXPECT_EQ(std::count(files.begin(), files.end(), (root / "odd" / name).string()), 1) << name;
    EXPECT_EQ(files.front(), (root / "cd0" / "t0.mp3").string());

    Restart();
    EXPECT_EQ(Column(Tracks(), TRACK_FILE), files);
    EXPECT_EQ(Query("select count(*) from PLAYLISTS"), std::vector<String>{"17"});
}

TEST_F(AddMusicTest, AFolderOfEveryFormatStoresTagsAndLengths)
{
    const auto root = dir.Path() / "formats";
    const std::vector<String> fixtures = {"tone-aac.m4a", "tone-alac.m4a", "tone.aac", "tone.aiff", "tone.flac",
                                          "tone.oga",     "tone.opus",     "tone.spx", "tone.tta",  "tone.wv"};
    std::filesystem::create_directories(root);
    for (const String& name : fixtures)
        std::filesystem::copy_file(std::filesystem::path(QP_FIXTURES) / name, root / name);

    Answer(std::vector<String>{root.string()});
    Lib().AddFolder(true);
    WaitForAdds();
    ASSERT_EQ(Tracks().GetCount(), static_cast<int>(fixtures.size()));
    EXPECT_EQ(Column(Tracks(), TRACK_FILE).front(), (root / "tone-aac.m4a").string());
    for (int row = 0; row < Tracks().GetCount(); ++row) {
        SCOPED_TRACE(Tracks().Get(row, TRACK_FILE).ToString());
        EXPECT_FALSE(Tracks().Get(row, TRACK_ID).IsNull());
        EXPECT_EQ(Tracks().Get(row, TRACK_TITLE).ToString(), "Tone \xC3\x84" "440");
        EXPECT_NEAR(Tracks().Get(row, TRACK_LENGTH).ToInt(), 1000, 50);
    }
    EXPECT_EQ(Query("select count(*) from PLAYLISTS where ARTIST = 'Quillon Tests' and ALBUM = 'Fixtures' and "
                    "YEAR = 2019 and GENRE = 'Test Tones' and TRACK = 3 and LENGTH between 950 and 1050"),
              std::vector<String>{std::to_string(fixtures.size())});
    EXPECT_TRUE(prompts.empty());
}

TEST_F(AddMusicTest, RemovingSelectedTracksRunsOneTransaction)
{
    Answer(Abc());
    Lib().AddFiles(true);
    WaitForAdds();
    Answer(Abc());
    Lib().AddFiles(true);
    WaitForAdds();
    std::ostringstream trace;
    session.SetTrace(&trace);
    Tracks().Select(1);
    Tracks().Select(2);
    Tracks().Select(4);
    Tracks().DoRemove();
    session.SetTrace(nullptr);

    EXPECT_EQ(Titles(), (std::vector<String>{"A", "A", "C"}));
    EXPECT_EQ(Query("select count(*) from PLAYLISTS"), std::vector<String>{"3"});
    const String log = trace.str();
    EXPECT_EQ(log.find("BEGIN;"), log.rfind("BEGIN;"));
    const size_t begin = log.find("BEGIN;"), commit = log.find("COMMIT;");
    ASSERT_NE(begin, String::npos);
    ASSERT_NE(commit, String::npos);
    size_t deletes = 0;
    for (size_t at = log.find("delete from PLAYLISTS"); at != String::npos; at = log.find("delete from PLAYLISTS", at + 1)) {
        EXPECT_GT(at, begin);
        EXPECT_LT(at, commit);
        ++deletes;
    }
    EXPECT_EQ(deletes, 3u);

    // The cursor row alone goes without an explicit transaction.
    trace.str({});
    session.SetTrace(&trace);
    Tracks().SetCursor(0);
    Tracks().DoRemove();
    session.SetTrace(nullptr);
    EXPECT_EQ(trace.str().find("BEGIN;"), String::npos);
    EXPECT_EQ(Query("select count(*) from PLAYLISTS"), std::vector<String>{"2"});
}
