#include <cstdio>
#include <ctime>
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
    TempDir dir;
    // A regular file where the log's folder should be: even root cannot create the log.
    std::ofstream(dir.File("not-a-folder")) << "x";
    const String name = dir.File("not-a-folder/run.log");
    LogStream log(name, 0);
    log << "lost\n" << String(3 * LogStream::kBufferSize, 'y') << "lost too\n";
    log.Flush();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(Exists(name));
    EXPECT_EQ(ReadFile(dir.File("not-a-folder")), "x");

    // Nothing was kept for later: a file that can be created receives only what follows.
    log.SetFileName(dir.File("run.log"));
    log << "kept\n";
    const String written = ReadFile(dir.File("run.log"));
    EXPECT_TRUE(written.ends_with("\r\nkept\n")) << written;
    EXPECT_EQ(written.find("lost"), String::npos);
}

TEST(UsrLogTest, InactiveLogWritesNothingAndNoFileIsLeftAfterDeletion)
{
    const String name = UsrLog().GetFileName();
    EXPECT_TRUE(name.ends_with(".usrlog"));
    EXPECT_EQ(name.rfind(ExecutableFolder() + "test_data.", 0), 0u);
    UsrLogT("---------- About to delete this log...");
    EXPECT_FALSE(Exists(name));

    // Deleting creates the file first, which keeps whatever lay there as the backup,
    // and then removes it.
    std::ofstream(name) << "left by an earlier run";
    DeleteUsrLog();
    EXPECT_FALSE(Exists(name));
    EXPECT_EQ(ReadFile(name + ".old"), "left by an earlier run");
    EXPECT_FALSE(IsUsrLogActive());
    std::filesystem::remove(name + ".old");

    ActivateUsrLog();
    UsrLogT("activity");
    EXPECT_TRUE(ReadFile(name).ends_with("activity\r\n"));
    DeleteUsrLog();
    EXPECT_FALSE(Exists(name));
    EXPECT_FALSE(Exists(name + ".old"));
}

TEST(BugLogTest, NameCarriesTheExecutableAndTheTimeOfCreation)
{
    const String name = BugLog().GetFileName();
    const String prefix = ExecutableFolder() + "test_data.";
    ASSERT_EQ(name.rfind(prefix, 0), 0u) << name;
    // ".<year>-<month>-<day>-<hour>-<minute>-<second>.buglog", all but the year two digits.
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, end = 0;
    ASSERT_EQ(std::sscanf(name.c_str() + prefix.size(), "%4d-%2d-%2d-%2d-%2d-%2d.buglog%n", &year, &month, &day,
                          &hour, &minute, &second, &end),
              6)
        << name;
    EXPECT_EQ(prefix.size() + static_cast<size_t>(end), name.size()) << name;
    EXPECT_EQ(name.size() - prefix.size(), String("2007-03-05-09-08-07.buglog").size()) << name;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(year, local.tm_year + 1900);
    EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour < 24 && minute < 60 && second < 61);
}
