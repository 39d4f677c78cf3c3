#include <gtest/gtest.h>

#include "library/MusicFiles.h"

TEST(MusicFiles, RecognisesMusicExtensionsInAnyCase)
{
    for (const char* name : {"a.mp3", "SONG.MP3", "x.Mp2", "b.ogg", "c.mid", "d.WAV", "e.wma"})
        EXPECT_TRUE(IsMusicFile(name)) << name;
    for (const char* name : {"song.mp3.bak", "y.txt", "clip.asf", "mp3", "noext", ".", "dir.mp3/file"})
        EXPECT_FALSE(IsMusicFile(name)) << name;
}

TEST(MusicFiles, ExtensionComesFromTheLastPathComponent)
{
    EXPECT_FALSE(IsMusicFile("/music/album.mp3/notes"));
    EXPECT_TRUE(IsMusicFile("/music/a:b\\c.mp3"));
    EXPECT_TRUE(IsMusicFile(".hidden.ogg"));
}

TEST(MusicFiles, FileTitleDropsFolderAndLastExtension)
{
    EXPECT_EQ(FileTitle("/home/me/Music/My Song.mp3"), "My Song");
    EXPECT_EQ(FileTitle("a.b.mp3"), "a.b");
    EXPECT_EQ(FileTitle("/x/noext"), "noext");
    EXPECT_EQ(FileTitle("/x/dotted.dir/track"), "track");
    // Backslash and colon are ordinary characters in a Linux file name.
    EXPECT_EQ(FileTitle("/x/C:\\Music\\Song.wav"), "C:\\Music\\Song");
}

TEST(MusicFiles, TrimsTheSixBlankCharacters)
{
    EXPECT_EQ(TrimRight("Title \t\n\v\f\r"), "Title");
    EXPECT_EQ(TrimRight("  lead"), "  lead");
    EXPECT_EQ(TrimBoth(" \t Jazz Mix \r\n"), "Jazz Mix");
    EXPECT_EQ(TrimBoth(" \t "), "");
    EXPECT_EQ(TrimBoth(""), "");
}
