#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "library/ScanFolder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

std::vector<String> Scan(const String& dir)
{
    std::vector<String> found;
    ScanFolder(dir, [&](const String& path) { found.push_back(path); });
    return found;
}

} // namespace

TEST(ScanFolder, TakesMusicFilesDepthFirstInNameOrder)
{
    TempDir tmp;
    const String root = tmp.Path().string();
    Touch(tmp.Path() / "b.mp3");
    Touch(tmp.Path() / "A.MP3");
    Touch(tmp.Path() / "y.txt");
    Touch(tmp.Path() / "sub" / "z.mid");
    Touch(tmp.Path() / "sub" / "deeper" / "c.ogg");
    Touch(tmp.Path() / "C.wav");
    Touch(tmp.Path() / ".hidden.wma");

    const std::vector<String> expected = {
        root + "/.hidden.wma", root + "/A.MP3", root + "/b.mp3", root + "/C.wav",
        root + "/sub/deeper/c.ogg", root + "/sub/z.mid"};
    EXPECT_EQ(Scan(root), expected);
}

TEST(ScanFolder, KeepsAwkwardNamesByteForByte)
{
    TempDir tmp;
    const std::vector<String> names = {"with space.mp3", "it's \"quoted\".mp3", "Zażółć.mp3",
                                       std::string("bad\xff\xfe.mp3"), "back\\slash:colon.mp3"};
    for (const String& name : names)
        Touch(tmp.Path() / name);
    const std::vector<String> found = Scan(tmp.Path().string());
    ASSERT_EQ(found.size(), names.size());
    for (const String& name : names)
        EXPECT_NE(std::find(found.begin(), found.end(), tmp.Path().string() + "/" + name), found.end())
            << name;
}

TEST(ScanFolder, FollowsFolderLinksOnceAndSurvivesLoopsAndPipes)
{
    TempDir tmp;
    Touch(tmp.Path() / "a" / "one.mp3");
    fs::create_directory_symlink(tmp.Path(), tmp.Path() / "a" / "loop");
    fs::create_directory_symlink(tmp.Path() / "a", tmp.Path() / "b-link");
    fs::create_symlink(tmp.Path() / "missing.mp3", tmp.Path() / "dangling");
    // A pipe with a music name would block the tag reading forever.
    ASSERT_EQ(mkfifo((tmp.Path() / "pipe.mp3").c_str(), 0600), 0);

    const std::vector<String> found = Scan(tmp.Path().string());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], tmp.Path().string() + "/a/one.mp3");
}

TEST(ScanFolder, SkipsUnreadableFoldersAndMissingOnes)
{
    TempDir tmp;
    Touch(tmp.Path() / "ok" / "one.mp3");
    Touch(tmp.Path() / "locked" / "two.mp3");
    chmod((tmp.Path() / "locked").c_str(), 0);
    const bool rootCanReadAnyway = access((tmp.Path() / "locked").c_str(), R_OK) == 0;

    const std::vector<String> found = Scan(tmp.Path().string());
    chmod((tmp.Path() / "locked").c_str(), 0700);
    EXPECT_EQ(found.size(), rootCanReadAnyway ? 2u : 1u);
    EXPECT_EQ(found.back(), tmp.Path().string() + "/ok/one.mp3");

    EXPECT_TRUE(Scan(tmp.File("does-not-exist")).empty());
}

TEST(ScanFolder, JoinsWithASingleSlash)
{
    EXPECT_EQ(JoinPath("/music", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
    EXPECT_EQ(JoinPath("", "a.mp3"), "a.mp3");
}
