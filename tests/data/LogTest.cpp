#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "core/Paths.h"
#include "data/Log.h"
#include "support/ReadFile.h"
#include "support/TempDir.h"

namespace {

bool Exists(const String& path)
{
    return std::filesystem::exists(path);
}

}  // namespace

TEST(PathsTest, LogNameReplacesOnlyTheFileNamesExtension)
{
    EXPECT_EQ(ReplaceExtension("/opt/player/quillon-player", ".log"), "/opt/player/quillon-player.log");
    EXPECT_EQ(ReplaceExtension("/opt/player/player.exe", ".log"), "/opt/player/player.log");
    EXPECT_EQ(ReplaceExtension("/opt/v1.2/player", ".log"), "/opt/v1.2/player.log");
    EXPECT_EQ(ReplaceExtension("/a/b.tar.gz", ".usrlog"), "/a/b.tar.usrlog");
}

TEST(PathsTest, ExecutableFolderAndTitleComeFromTheRunningProgram)
{
    const String path = ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(Exists(path));
    EXPECT_EQ(ExecutableTitle(), "test_data");
    EXPECT_EQ(ExecutableFolder() + ExecutableTitle(), path);
    EXPECT_EQ(ExecutableFilePath("QuillonPlayer.db3"), ExecutableFolder() + "QuillonPlayer.db3");
}

TEST(LogStreamTest, NothingWrittenLeavesNoFile)
{
    TempDir dir;
    const String name = dir.File("run.log");
    {
        LogStream log(name, 0);
        log.Flush();
        log.Close();
    }
    EXPECT_FALSE(Exists(name));
}

TEST(LogStreamTest, FirstWriteCreatesTheFileWithItsHeaderAndLinesFlushAtLineFeed)
{
    TempDir dir;
    const String name = dir.File("run.log");
    LogStream log(name, 0);
    log << "partial";
    const String header = ReadFile(name);
    ASSERT_EQ(header.rfind("* " + ExecutablePath() + " ", 0), 0u) << header;
    EXPECT_NE(header.find(", user: "), String::npos);
    EXPECT_TRUE(header.ends_with("\n\r\n"));

    log << " line " << 42 << '\n';
    EXPECT_EQ(ReadFile(name), header + "partial line 42\n");

    // A full buffer is written without waiting for a line feed.
    const String block(LogStream::kBufferSize, 'x');
    log << block;
    EXPECT_EQ(ReadFile(name).size(), header.size() + 16 + LogStream::kBufferSize);
}

TEST(LogStreamTest, EachRunKeepsOnePreviousGeneration)
{
    TempDir dir;
    const String name = dir.File("run.log");
    for (const char* run : {"first\n", "second\n", "third\n"}) {
        LogStream log(name, 0);
        log << run;
    }
    EXPECT_TRUE(ReadFile(name).ends_with("third\n"));
    EXPECT_TRUE(ReadFile(name + ".old").ends_with("second\n"));
    EXPECT_FALSE(Exists(name + ".old.old"));
}

TEST(LogStreamTest, PassingTheSizeLimitStartsAFreshFileAndKeepsTheFullOne)
{
    TempDir dir;
    const String name = dir.File("run.log");
    LogStream log(name, 1000);
    const String line(99, 'a');
    for (int i = 0; i < 30; ++i)
        log << line << '\n';
    const String current = ReadFile(name);
    const String backup = ReadFile(name + ".old");
    EXPECT_EQ(current.rfind("* ", 0), 0u);
    EXPECT_EQ(backup.rfind("* ", 0), 0u);
    EXPECT_GT(backup.size(), 1000u);
    EXPECT_LE(backup.size(), 1100u);
    EXPECT_LE(current.size(), 1100u);
}

TEST(LogStreamTest, AFileThatCannotBeCreatedDiscardsWrites)
{
    LogStream log("/nonexistent-folder-for-quillon/run.log", 0);
    log << "lost\n";
    EXPECT_FALSE(log.IsOpen());
}

TEST(UsrLogTest, InactiveLogWritesNothingAndNoFileIsLeftAfterDeletion)
{
    const String name = UsrLog().GetFileName();
    EXPECT_TRUE(name.ends_with(".usrlog"));
    EXPECT_EQ(name.rfind(ExecutableFolder() + "test_data.", 0), 0u);
    UsrLogT("---------- About to delete this log...");
    EXPECT_FALSE(Exists(name));
    DeleteUsrLog();
    EXPECT_FALSE(Exists(name));
    EXPECT_FALSE(IsUsrLogActive());

    ActivateUsrLog();
    UsrLogT("activity");
    EXPECT_TRUE(ReadFile(name).ends_with("activity\r\n"));
    DeleteUsrLog();
    EXPECT_FALSE(Exists(name));
    EXPECT_FALSE(Exists(name + ".old"));
}
