// The Files menu's Load, Save as, Import and Export, driven through the menu
// with the selectors and questions answered by the test.

#include <filesystem>
#include <fstream>

#include "PlayerFixture.h"
#include "library/LibraryGrids.h"
#include "library/MusicFixtures.h"
#include "library/PlaylistFiles.h"
#include "playback/TrackColumns.h"
#include "support/ReadFile.h"
#include "support/WaitForAdds.h"

namespace fs = std::filesystem;

namespace {

void Choose(Player& player, const std::string& entry)
{
    Bar files;
    player.FilesMenu(files);
    for (const BarItem& item : files.Items())
        if (!item.IsSeparator() && item.GetText() == entry) {
            item.GetAction()();
            return;
        }
    ADD_FAILURE() << "no entry " << entry;
}

void WriteText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Each row of a track grid as "file|title|artist|album|length".
std::vector<std::string> Rows(GridCtrl& tracks)
{
    std::vector<std::string> rows;
    for (int row = 0; row < tracks.GetCount(); ++row) {
        std::string text;
        for (int column : {TRACK_FILE, TRACK_TITLE, TRACK_ARTIST, TRACK_ALBUM, TRACK_LENGTH})
            text += (text.empty() ? "" : "|") + tracks.Get(row, column).ToString();
        rows.push_back(text);
    }
    return rows;
}

std::vector<std::string> ListNames(Player& player)
{
    std::vector<std::string> names;
    for (int row = 0; row < player.ListGrid.GetCount(); ++row)
        names.push_back(player.ListGrid.Get(row, LIST_NAME).ToString());
    return names;
}

}  // namespace

class PlaylistMenuTest : public PlayerTest {
protected:
    // Three tagged tracks in the first playlist, the third without album.
    void AddThreeTracks(Player& player)
    {
        using music_fixtures::MakeMp3;
        for (const std::string& path :
             {MakeMp3(dir.Path() / "music" / "b.mp3", "Bee", "Band", "Album"),
              MakeMp3(dir.Path() / "music" / "sub" / "ą ę.mp3", "Zażółć", "Gęślą", "Jaźń"),
              MakeMp3(dir.Path() / "elsewhere" / "a.mp3", "Ay", "Solo", "")})
            player.AddTrack(true, path);
    }

    void SetUp() override
    {
        PlayerTest::SetUp();
        // Questions are seen by the prompt handler too, so their texts are in `prompts`.
        previousAnswer = SetPromptAnswer([this](const PromptRequest&) {
            if (buttons.empty())
                return 1;
            const int answer = buttons.front();
            buttons.erase(buttons.begin());
            return answer;
        });
    }

    void TearDown() override
    {
        SetPromptAnswer(previousAnswer);
        PlayerTest::TearDown();
    }

    // The buttons the next questions are answered with, by index; "No" when none is left.
    std::vector<int> buttons;

private:
    PromptAnswer previousAnswer;
};

TEST_F(PlaylistMenuTest, SaveAsThenLoadGivesTheSameTracksInEachFormat)
{
    Player player;
    AddThreeTracks(player);
    GridCtrl& saved = player.CurrentTrackList();
    ASSERT_EQ(saved.GetCount(), 3);
    const std::vector<std::string> original = Rows(saved);

    int lists = 1;
    for (const std::string name : {"list.m3u8", "list.m3u", "list.pls", "list.xspf"}) {
        SCOPED_TRACE(name);
        player.ListGrid.SetCursor(0);
        const std::string file = dir.File("music/" + name);
        Answer(std::vector<String>{file});
        Choose(player, "Save as");
        ASSERT_TRUE(fs::exists(file));

        Answer(std::vector<String>{file});
        Choose(player, "Load");
        WaitForAdds(player.library);
        ASSERT_EQ(player.ListGrid.GetCount(), ++lists);
        EXPECT_EQ(player.ListGrid.Get(player.ListGrid.GetCursor(), LIST_NAME).ToString(), "list");
        EXPECT_EQ(Rows(player.CurrentTrackList()), original);
    }
    EXPECT_TRUE(prompts.empty());
    // The loaded tracks are stored, in order, under their new playlists.
    EXPECT_EQ(Query("SELECT COUNT(*) FROM PLAYLISTS").front(), "15");
    EXPECT_EQ(Query("SELECT COUNT(*) FROM LISTS WHERE NAME = 'list'").front(), "4");

    // Without a known extension the playlist is saved as M3U8.
    Answer(std::vector<String>{dir.File("plain")});
    Choose(player, "Save as");
    EXPECT_TRUE(fs::exists(dir.File("plain.m3u8")));
    EXPECT_EQ(ReadFile(dir.File("plain.m3u8")).rfind("#EXTM3U\n", 0), 0u);
}

TEST_F(PlaylistMenuTest, LoadTellsOnceWhatItSkippedAndEachSelectorKeepsItsFolder)
{
    const std::string kept = music_fixtures::MakeMp3(dir.Path() / "m" / "kept.mp3", "Kept");
    WriteText(dir.Path() / "lists" / "gaps.m3u",
              "#EXTM3U\nmissing-one.mp3\n../m/kept.mp3\nhttp://radio.example/stream\n/no/such/two.mp3\n");
    WriteText(dir.Path() / "lists" / "broken.xspf", "<playlist><trackList><track>");

    Player player;
    Answer(std::vector<String>{dir.File("lists/gaps.m3u"), dir.File("lists/broken.xspf")});
    Choose(player, "Load");
    WaitForAdds(player.library);

    EXPECT_EQ(ListNames(player), (std::vector<std::string>{"Playlist 1", "gaps"}));
    ASSERT_EQ(player.CurrentTrackList().GetCount(), 1);
    EXPECT_EQ(player.CurrentTrackList().Get(0, TRACK_FILE).ToString(), kept);
    ASSERT_EQ(prompts.size(), 1u);
    for (const char* part : {"missing-one.mp3", "two.mp3", "file not found", "radio.example", "broken.xspf"})
        EXPECT_NE(prompts[0].find(part), std::string::npos) << part << " in " << prompts[0];

    // A cancelled selector changes nothing; the next run starts in the folder of the last choice.
    Choose(player, "Load");
    WaitForAdds(player.library);
    EXPECT_EQ(requests.back().folder, dir.File("lists"));
    EXPECT_EQ(player.ListGrid.GetCount(), 2);
    Choose(player, "Import");
    WaitForAdds(player.library);
    EXPECT_EQ(requests.back().folder, "");
}

TEST_F(PlaylistMenuTest, ImportMakesAPlaylistOfEachPlaylistFileInTheFolder)
{
    const std::string one = music_fixtures::MakeMp3(dir.Path() / "in" / "one.mp3", "One");
    const std::string two = music_fixtures::MakeMp3(dir.Path() / "in" / "two.mp3", "Two");
    WriteText(dir.Path() / "in" / "first.m3u8", "two.mp3\none.mp3\n");
    WriteText(dir.Path() / "in" / "second.pls", "[playlist]\nFile1=one.mp3\nNumberOfEntries=1\nVersion=2\n");
    WriteText(dir.Path() / "in" / "notes.txt", "one.mp3\n");

    Player player;
    Answer(std::vector<String>{dir.File("in")});
    Choose(player, "Import");
    WaitForAdds(player.library);
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(ListNames(player), (std::vector<std::string>{"Playlist 1", "first", "second"}));
    GridCtrl& first = *player.TrackLists[1];
    ASSERT_EQ(first.GetCount(), 2);
    EXPECT_EQ(first.Get(0, TRACK_FILE).ToString(), two);
    EXPECT_EQ(first.Get(1, TRACK_TITLE).ToString(), "One");
    EXPECT_EQ(player.TrackLists[2]->GetCount(), 1);

    // A folder without playlist files says so.
    fs::create_directories(dir.Path() / "empty");
    Answer(std::vector<String>{dir.File("empty")});
    Choose(player, "Import");
    WaitForAdds(player.library);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts[0].find("no playlist file"), std::string::npos);
    EXPECT_EQ(player.ListGrid.GetCount(), 3);
}

TEST_F(PlaylistMenuTest, ExportWritesEveryPlaylistUnderASafeNameAndAsksBeforeReplacing)
{
    Player player;
    AddThreeTracks(player);
    for (const char* name : {"Rock/Pop", "..", "  rock_pop  "}) {
        player.ListGrid.DoAppendNoEdit();
        player.ListGrid.Set(LIST_NAME, name);
        player.ListInserted();
    }
    const fs::path out = dir.Path() / "out";
    WriteText(out / "Playlist 1.m3u8", "keep me\n");
    buttons = {1};  // "No"
    Answer(std::vector<String>{out.string()});
    Choose(player, "Export");

    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts[0].find("Playlist 1.m3u8"), std::string::npos);
    EXPECT_EQ(ReadFile((out / "Playlist 1.m3u8").string()), "keep me\n");
    for (const char* name : {"Rock_Pop.m3u8", "Playlist.m3u8", "rock_pop (2).m3u8"})
        EXPECT_TRUE(fs::exists(out / name)) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4);

    // "Yes to all" replaces this file and every later one without asking again.
    buttons = {2};
    Answer(std::vector<String>{out.string()});
    Choose(player, "Export");
    EXPECT_EQ(prompts.size(), 2u);
    Answer(std::vector<String>{(out / "Playlist 1.m3u8").string()});
    Choose(player, "Load");
    WaitForAdds(player.library);
    EXPECT_EQ(player.CurrentTrackList().GetCount(), 3);
}

TEST_F(PlaylistMenuTest, AWriteThatFailsSaysSoOnceAndLeavesNoFile)
{
    Player player;
    AddThreeTracks(player);
    const fs::path missing = dir.Path() / "no-such-folder";
    Answer(std::vector<String>{(missing / "x.pls").string()});
    Choose(player, "Save as");
    Answer(std::vector<String>{missing.string()});
    Choose(player, "Export");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_NE(prompts[0].find("x.pls"), std::string::npos);
    EXPECT_NE(prompts[1].find("Playlist 1.m3u8"), std::string::npos);
    EXPECT_FALSE(fs::exists(missing));
}

TEST(ExportFileNameTest, MakesEveryNameSafeAndUnique)
{
    std::vector<String> taken;
    EXPECT_EQ(ExportFileName("a/b\\c", taken), "a_b_c");
    EXPECT_EQ(ExportFileName(String("x\0y\n", 4), taken), "x_y");
    EXPECT_EQ(ExportFileName(" . ", taken), "Playlist");
    EXPECT_EQ(ExportFileName("..", taken), "Playlist (2)");
    EXPECT_EQ(ExportFileName("A_B_C", taken), "A_B_C (2)");
    EXPECT_EQ(ExportFileName(".hidden", taken), ".hidden");
    const String longName = "ą" + std::string(300, 'x');
    const String cut = ExportFileName(std::string(199, 'y') + "ż", taken);
    EXPECT_EQ(cut, std::string(199, 'y'));
    EXPECT_LE(ExportFileName(longName, taken).size(), 200u);
}
