#include <sys/stat.h>

#include "PlaylistFixture.h"

TEST_F(PlaylistFilesTest, FilesThatAreNoPlaylistAreClearErrors)
{
    const struct {
        const char* name;
        const char* says;
    } cases[] = {
        {"empty.m3u", "the file is empty"},
        {"binary.m3u", "binary data"},
        {"truncated.xspf", "the XML is damaged at line 5"},
        {"wrong-namespace.xspf", "namespace \"http://example.com/not-xspf/\""},
        {"no such file.m3u", "No such file or directory"},
    };
    for (const auto& c : cases) {
        const PlaylistFile file = ReadPlaylist(List(c.name));
        EXPECT_FALSE(file.ok) << c.name;
        EXPECT_TRUE(file.entries.empty()) << c.name;
        EXPECT_NE(file.error.find(c.says), std::string::npos) << c.name << ": " << file.error;
    }

    std::ofstream(List("section.pls")) << "File1=Album One/01 First.flac\n";
    EXPECT_NE(ReadPlaylist(List("section.pls")).error.find("no [playlist] section"), std::string::npos);
    // A folder or a pipe given as the playlist is refused without waiting for a writer.
    std::filesystem::create_directories(Lists() / "folder.m3u");
    EXPECT_NE(ReadPlaylist(List("folder.m3u")).error.find("it is a folder"), std::string::npos);
    ASSERT_EQ(mkfifo(List("pipe.m3u").c_str(), 0600), 0);
    EXPECT_NE(ReadPlaylist(List("pipe.m3u")).error.find("not a regular file"), std::string::npos);
}

TEST_F(PlaylistFilesTest, PlsWithMissingOrOutOfRangeNumbersKeepsTheGoodEntries)
{
    const PlaylistFile file = ReadPlaylist(List("bad-numbers.pls"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file), (std::vector<std::string>{Track("Album One/02 Second.m4a")}));
    EXPECT_EQ(ReasonFor(file, "File=Album"), "the entry has no number");
    EXPECT_EQ(ReasonFor(file, "File0="), "the entry number is out of range");
    EXPECT_EQ(ReasonFor(file, "File99999999999="), "the entry number is out of range");
    EXPECT_EQ(ReasonFor(file, "entry 2"), "a title or length without a File2 line");
    bool beyond = false;
    for (const PlaylistProblem& problem : file.problems)
        beyond = beyond || problem.reason == "File4 is beyond NumberOfEntries=3";
    EXPECT_TRUE(beyond);
    EXPECT_EQ(file.problems.size(), 5u);
}

TEST_F(PlaylistFilesTest, ANulByteSpoilsOnlyItsOwnEntry)
{
    const PlaylistFile file = ReadPlaylist(List("nul-byte.m3u"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file),
              (std::vector<std::string>{Track("Album One/01 First.flac"), Track("Album One/02 Second.m4a")}));
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_EQ(file.problems[0].reason, "the entry holds a NUL byte");
}

TEST_F(PlaylistFilesTest, HugeListsAndMegabyteLinesAreReadWhole)
{
    {
        std::ofstream out(List("huge.m3u"));
        out << "#EXTM3U\n";
        for (int i = 0; i < 100000; ++i)
            out << "#EXTINF:1,Artist - Title " << i << "\n" << (i % 2 ? "Album One/01 First.flac" : "missing.mp3") << "\n";
    }
    const PlaylistFile huge = ReadPlaylist(List("huge.m3u"));
    ASSERT_TRUE(huge.ok) << huge.error;
    EXPECT_EQ(huge.entries.size(), 50000u);
    EXPECT_EQ(huge.problems.size(), 50000u);
    EXPECT_EQ(huge.entries.back().title, "Title 99999");

    const std::string megabyte(1 << 20, 'x');
    std::ofstream(List("long.m3u")) << "#EXTINF:5,Artist - " << megabyte << "\n"
                                    << "Album One/01 First.flac\n"
                                    << megabyte << ".mp3\n";
    const PlaylistFile longLines = ReadPlaylist(List("long.m3u"));
    ASSERT_TRUE(longLines.ok) << longLines.error;
    ASSERT_EQ(longLines.entries.size(), 1u);
    EXPECT_EQ(longLines.entries[0].title.size(), 1024u);  // cut, not dropped
    ASSERT_EQ(longLines.problems.size(), 1u);
    EXPECT_EQ(longLines.problems[0].reason, "the entry is too long to be a file path");
    EXPECT_LE(longLines.problems[0].entry.size(), 203u);
}
