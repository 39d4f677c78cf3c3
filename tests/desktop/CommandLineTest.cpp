#include <fstream>
#include <gtest/gtest.h>

#include "desktop/CommandLine.h"
#include "support/TempDir.h"

namespace {

class CommandLineTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.Path() / "album one");
        std::ofstream(dir.File("song.mp3"));
        std::ofstream(dir.File("album one/café.ogg"));
    }
    CommandLine Parse(const std::vector<std::string>& args) { return ParseCommandLine(args, dir.Path().string()); }

    TempDir dir;
};

TEST_F(CommandLineTest, FilesFoldersAndUrisBecomeAbsolutePathsInTheirOrder)
{
    const CommandLine line = Parse({"song.mp3", "./album one/../album one/", "file://" + dir.File("album%20one/caf%C3%A9.ogg"),
                                    "file://localhost" + dir.File("song.mp3"), dir.File("song.mp3")});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    const std::vector<std::string> expected = {dir.File("song.mp3"), dir.File("album one"),
                                               dir.File("album one/café.ogg"), dir.File("song.mp3"),
                                               dir.File("song.mp3")};
    EXPECT_EQ(line.paths, expected);
    EXPECT_TRUE(line.problems.empty());
    EXPECT_TRUE(Parse({}).paths.empty());
}

TEST_F(CommandLineTest, MissingFilesAndRemoteUrisAreReportedAndTheRestKept)
{
    const CommandLine line = Parse({"gone.mp3", "song.mp3", "http://example.org/a.mp3", "file://server/share/a.mp3"});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.paths, std::vector<std::string>{dir.File("song.mp3")});
    const std::vector<std::string> expected = {"no such file or folder: gone.mp3",
                                               "not a local file: http://example.org/a.mp3",
                                               "not a local file: file://server/share/a.mp3"};
    EXPECT_EQ(line.problems, expected);
}

TEST_F(CommandLineTest, OptionsHelpVersionAndUnknown)
{
    EXPECT_EQ(Parse({"song.mp3", "--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::Action::Version);

    // Toolkit options are unknown to the player like any other.
    for (const std::string option : {"-style", "--frobnicate", "-reverse"}) {
        const CommandLine line = Parse({"song.mp3", option, "fusion"});
        EXPECT_EQ(line.action, CommandLine::Action::BadUsage) << option;
        EXPECT_EQ(line.problems, std::vector<std::string>{"unknown option: " + option});
        EXPECT_TRUE(line.paths.empty());
    }
}

TEST_F(CommandLineTest, AfterDoubleDashEverythingIsAPath)
{
    std::ofstream(dir.File("-odd name.mp3"));
    const CommandLine line = Parse({"--", "-odd name.mp3", "--help"});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.paths, std::vector<std::string>{dir.File("-odd name.mp3")});
    EXPECT_EQ(line.problems, std::vector<std::string>{"no such file or folder: --help"});
}

}  // namespace
