#include <csignal>
#include <cstdlib>

#include <sys/resource.h>

#include "PlaylistFixture.h"
#include "support/ReadFile.h"

namespace {

class RoundTripTest : public PlaylistFilesTest, public testing::WithParamInterface<const char*> {
protected:
    std::vector<PlaylistEntry> Entries() const
    {
        return {
            {Track("Album One/01 First.flac"), "First", "The Firsts", "Album One", 61973},
            // Artist with the separator in it, a title with a line break, no album.
            {Track("Żółć/01 Gęś i łabędź.flac"), "Gęś\ni łabędź", "Kapela - Żółć", "", 75400},
            {(dir.Path() / "outside.ogg").string(), "Outside", "", "Elsewhere & <Co>", -1},
            {Track("Album One/01 First.flac"), "", "", "", 0},
        };
    }
};

}  // namespace

TEST_P(RoundTripTest, SavedThenLoadedGivesTheSameTracksInOrder)
{
    const std::string path = List(std::string("saved.") + GetParam());
    const std::vector<PlaylistEntry> saved = Entries();
    const WriteResult written = WritePlaylist(path, saved);
    ASSERT_TRUE(written.ok) << written.error;

    const std::string text = ReadFile(path);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    // Below the playlist's folder relative, elsewhere absolute.
    EXPECT_EQ(text.find(Lists().string() + "/Album"), std::string::npos) << text;
    EXPECT_NE(text.find((dir.Path() / "outside.ogg").string()), std::string::npos) << text;

    const PlaylistFile loaded = ReadPlaylist(path);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_TRUE(loaded.problems.empty());
    ASSERT_EQ(loaded.entries.size(), saved.size());
    const bool exactLength = std::string(GetParam()) == "xspf";
    for (std::size_t i = 0; i < saved.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(loaded.entries[i].path, saved[i].path);
        EXPECT_EQ(loaded.entries[i].title, i == 1 ? "Gęś i łabędź" : saved[i].title);
        EXPECT_EQ(loaded.entries[i].artist, saved[i].artist);
        EXPECT_EQ(loaded.entries[i].album, saved[i].album);
        if (saved[i].lengthMs < 0 || exactLength)
            EXPECT_EQ(loaded.entries[i].lengthMs, saved[i].lengthMs);
        else  // these formats count whole seconds
            EXPECT_NEAR(loaded.entries[i].lengthMs, saved[i].lengthMs, 500);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTripTest, testing::Values("m3u8", "m3u", "pls", "xspf", "M3U8"));

TEST_F(PlaylistFilesTest, NamesAReaderWouldMistakeAreWrittenSoTheyReadBack)
{
    Touch(Lists() / "#1 hit.mp3");
    Touch(Lists() / "a:b.mp3");
    Touch(Lists() / "100% pure.mp3");
    const std::vector<PlaylistEntry> saved = {
        {Track("#1 hit.mp3")}, {Track("a:b.mp3")}, {Track("100% pure.mp3")}};
    for (const char* name : {"odd.m3u8", "odd.pls", "odd.xspf"}) {
        ASSERT_TRUE(WritePlaylist(List(name), saved).ok) << name;
        const PlaylistFile loaded = ReadPlaylist(List(name));
        EXPECT_EQ(Paths(loaded), (std::vector<std::string>{Track("#1 hit.mp3"), Track("a:b.mp3"), Track("100% pure.mp3")}))
            << name;
    }
}

TEST_F(PlaylistFilesTest, AnUnknownExtensionOrAnUnwritablePlaceIsAClearErrorAndChangesNothing)
{
    const std::vector<PlaylistEntry> entries = {{Track("Album One/01 First.flac"), "First"}};
    WriteResult result = WritePlaylist(List("list.txt"), entries);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(".m3u8, .m3u, .pls or .xspf"), std::string::npos) << result.error;
    EXPECT_FALSE(std::filesystem::exists(List("list.txt")));

    result = WritePlaylist((dir.Path() / "no such folder" / "list.m3u8").string(), entries);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("No such file or directory"), std::string::npos) << result.error;

    std::filesystem::create_directories(Lists() / "taken.m3u8");
    result = WritePlaylist(List("taken.m3u8"), entries);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(std::filesystem::is_directory(Lists() / "taken.m3u8"));
}

TEST_F(PlaylistFilesTest, AFullDiskLeavesThePreviousFileAndNoPartialOne)
{
    const std::string path = List("big.m3u8");
    std::ofstream(path) << "previous content\n";
    std::vector<PlaylistEntry> many(2000, PlaylistEntry{Track("Album One/01 First.flac"), "First", "Artist", "", 1});

    // A file size limit makes writes fail part way, as a full disk does.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult result = WritePlaylist(path, many);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("the disk is full"), std::string::npos) << result.error;
    EXPECT_EQ(ReadFile(path), "previous content\n");
    for (const auto& entry : std::filesystem::directory_iterator(Lists()))
        EXPECT_EQ(entry.path().filename().string().find(".big"), std::string::npos) << entry.path();
}
