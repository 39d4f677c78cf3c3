#include <sys/stat.h>

#include "PlaylistFixture.h"

namespace {

bool ByExtension(const std::string& path)
{
    for (const char* ext : {".mp3", ".flac", ".opus", ".ogg", ".m4a"})
        if (path.size() > 4 && path.compare(path.size() - std::string(ext).size(), std::string::npos, ext) == 0)
            return true;
    return false;
}

}  // namespace

TEST_F(PlaylistFilesTest, WindowsM3uInLatin1WithBackslashesDrivesAndAStream)
{
    const PlaylistFile file = ReadPlaylist(List("windows-latin1.m3u"));
    ASSERT_TRUE(file.ok) << file.error;
    // The second entry differs in case, the third names another computer's drive,
    // the fourth the root of the drive the playlist was on.
    EXPECT_EQ(Paths(file), (std::vector<std::string>{Track("Björk/Homogenic/01 Hunter.mp3"),
                                                     Track("Björk/Homogenic/02 Jóga.mp3"),
                                                     Track("Björk/Homogenic/03 Unravel.mp3"),
                                                     Track("Björk/Homogenic/01 Hunter.mp3")}));
    EXPECT_EQ(file.entries[0].artist, "Björk");
    EXPECT_EQ(file.entries[0].title, "Hunter");
    EXPECT_EQ(file.entries[0].lengthMs, 215000);
    EXPECT_EQ(file.entries[1].title, "Jóga");
    EXPECT_EQ(ReasonFor(file, "http://radio.example.com"),
              "a network address (http), not a file on this computer; not played");
    EXPECT_EQ(ReasonFor(file, "04 Missing.mp3"), "file not found");
    EXPECT_EQ(file.problems.size(), 2u);
}

TEST_F(PlaylistFilesTest, M3u8WithByteOrderMarkAlbumAndPathsUpAndDown)
{
    const PlaylistFile file = ReadPlaylist(List("polish-bom.m3u8"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_TRUE(file.problems.empty());
    ASSERT_EQ(Paths(file), (std::vector<std::string>{Track("Żółć/01 Gęś i łabędź.flac"), Track("Żółć/02 Zażółć.opus"),
                                                     (dir.Path() / "outside.ogg").string()}));
    EXPECT_EQ(file.entries[0].artist, "Kapela Żółć");
    EXPECT_EQ(file.entries[0].title, "Gęś i łabędź");
    // Only the first " - " divides artist and title.
    EXPECT_EQ(file.entries[1].title, "Zażółć - część druga");
    EXPECT_EQ(file.entries[1].album, "Pieśni");
    EXPECT_EQ(file.entries[0].album, "");  // an album line describes one entry only
    EXPECT_EQ(file.entries[2].lengthMs, 12500);
    EXPECT_EQ(file.entries[2].artist, "");
}

TEST_F(PlaylistFilesTest, PlainM3uInUtf8WithoutHeader)
{
    const PlaylistFile file = ReadPlaylist(List("plain-utf8.m3u"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file), (std::vector<std::string>{Track("Żółć/01 Gęś i łabędź.flac"), Track("Album One/01 First.flac"),
                                                     Track("Album One/02 Second.m4a")}));
    EXPECT_EQ(file.entries[0].lengthMs, -1);
    EXPECT_EQ(file.entries[0].title, "");
}

TEST_F(PlaylistFilesTest, PlsWithMixedCaseKeysAndAStream)
{
    const PlaylistFile file = ReadPlaylist(List("mixed.pls"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file),
              (std::vector<std::string>{Track("Album One/01 First.flac"), Track("Björk/Homogenic/02 Jóga.mp3")}));
    EXPECT_EQ(file.entries[0].title, "The Firsts - First");  // a PLS title is shown as written
    EXPECT_EQ(file.entries[0].lengthMs, 62000);
    EXPECT_EQ(file.entries[1].lengthMs, 305000);
    EXPECT_EQ(ReasonFor(file, "https://stream"),
              "a network address (https), not a file on this computer; not played");
}

TEST_F(PlaylistFilesTest, XspfWithRelativeAndWindowsFileUris)
{
    const PlaylistFile file = ReadPlaylist(List("exported.xspf"));
    ASSERT_TRUE(file.ok) << file.error;
    ASSERT_EQ(Paths(file),
              (std::vector<std::string>{Track("Album One/01 First.flac"), Track("Żółć/01 Gęś i łabędź.flac")}));
    EXPECT_EQ(file.entries[0].title, "First");
    EXPECT_EQ(file.entries[0].artist, "The Firsts");
    EXPECT_EQ(file.entries[0].album, "Album One");
    EXPECT_EQ(file.entries[0].lengthMs, 61973);
    EXPECT_EQ(file.entries[1].title, "Gęś & łabędź");
    EXPECT_EQ(file.entries[1].lengthMs, -1);
    EXPECT_EQ(ReasonFor(file, "http://stream.example.org"),
              "a network address (http), not a file on this computer; not played");
    EXPECT_EQ(ReasonFor(file, "No location"), "the track has no location");
}

TEST_F(PlaylistFilesTest, AbsolutePathsAndFileUrlsWithEscapes)
{
    const std::string track = Track("Żółć/01 Gęś i łabędź.flac");
    const std::string escaped = "file://" + Lists().string() + "/%C5%BB%C3%B3%C5%82%C4%87/01%20G%C4%99%C5%9B%20i%20%C5%82ab%C4%99d%C5%BA.flac";
    std::ofstream(List("absolute.m3u8")) << track << "\n"
                                         << escaped << "\n"
                                         << "file://localhost" << Track("Album One/01 First.flac") << "\n"
                                         << "file://nas.local/music/a.mp3\n"
                                         << "file:///broken%2\n";
    const PlaylistFile file = ReadPlaylist(List("absolute.m3u8"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file), (std::vector<std::string>{track, track, Track("Album One/01 First.flac")}));
    EXPECT_EQ(ReasonFor(file, "nas.local"), "a file on another computer (nas.local); not played");
    EXPECT_EQ(ReasonFor(file, "broken"), "the address has a broken %-escape");
}

TEST_F(PlaylistFilesTest, AFileWithoutAPlaylistExtensionIsRecognisedByItsContent)
{
    std::filesystem::copy_file(List("mixed.pls"), List("radio.txt"));
    std::filesystem::copy_file(List("exported.xspf"), List("exported.xml"));
    EXPECT_EQ(ReadPlaylist(List("radio.txt")).entries.size(), 2u);
    EXPECT_EQ(ReadPlaylist(List("exported.xml")).entries.size(), 2u);
}

TEST_F(PlaylistFilesTest, WhatIsNotAPlayableMusicFileIsListedWithItsReason)
{
    namespace fs = std::filesystem;
    Touch(Lists() / "notes.txt");
    ASSERT_EQ(mkfifo(List("pipe.mp3").c_str(), 0600), 0);
    fs::create_directories(Lists() / "Folder.mp3");
    std::ofstream(List("odd.m3u")) << "Album One/01 First.flac\nnotes.txt\npipe.mp3\nFolder.mp3\nodd.m3u\n"
                                   << "../lists/odd.m3u\n/dev/null\n";
    const PlaylistFile file = ReadPlaylist(List("odd.m3u"), ByExtension);
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file), (std::vector<std::string>{Track("Album One/01 First.flac")}));
    EXPECT_EQ(ReasonFor(file, "notes.txt"), "not a music file");
    EXPECT_EQ(ReasonFor(file, "pipe.mp3"), "not a regular file (a pipe, socket or device)");
    EXPECT_EQ(ReasonFor(file, "Folder.mp3"), "a folder, not a file");
    EXPECT_EQ(ReasonFor(file, "../lists/odd.m3u"), "the playlist itself");
    EXPECT_EQ(ReasonFor(file, "/dev/null"), "not a regular file (a pipe, socket or device)");
    EXPECT_EQ(file.problems.size(), 6u);
}

TEST_F(PlaylistFilesTest, M3uSavedAsUtf16ByAWindowsEditor)
{
    const PlaylistFile file = ReadPlaylist(List("notepad-utf16.m3u"));
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(Paths(file), (std::vector<std::string>{Track("Żółć/02 Zażółć.opus"), Track("Album One/01 First.flac")}));
    EXPECT_EQ(file.entries[0].title, "Zażółć \xF0\x9D\x84\x9E");  // a character beyond 16 bits survives
}
