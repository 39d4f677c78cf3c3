#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <sstream>
#include <utility>

#include "library/MusicFiles.h"

namespace {

// Checks each text against what `change` should make of it; a failure names the text.
void ExpectEach(String (*change)(const String&), std::initializer_list<std::pair<String, String>> cases)
{
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(change(text), expected) << "from \"" << text << '"';
}

}  // namespace

TEST(MusicFiles, RecognisesMusicExtensionsInAnyCase)
{
    for (const char* name : {"a.mp3", "SONG.MP3", "x.Mp2", "b.ogg", "c.mid", "d.WAV", "e.wma", "f.FLAC", "g.opus",
                             "h.oga", "i.m4a", "j.M4B", "k.aac", "l.wv", "m.ape", "n.aif", "o.aiff", "p.AIFC",
                             "q.mpc", "r.tta", "s.spx", "clip.asf", "t.MIDI"})
        EXPECT_TRUE(IsMusicFile(name)) << name;
    for (const char* name : {"song.mp3.bak", "y.txt", "list.m3u", "cover.jpg", "mp3", "flac", "noext", ".",
                             "dir.mp3/file", "a.mp4", "a.m4"})
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
    ExpectEach(FileTitle, {{"/home/me/Music/My Song.mp3", "My Song"},
                           {"a.b.mp3", "a.b"},
                           {"/x/noext", "noext"},
                           {"/x/dotted.dir/track", "track"},
                           // Backslash and colon are ordinary characters in a Linux file name.
                           {"/x/C:\\Music\\Song.wav", "C:\\Music\\Song"}});
}

TEST(MusicFiles, TrimsTheSixBlankCharacters)
{
    ExpectEach(TrimRight, {{"Title \t\n\v\f\r", "Title"}, {"  lead", "  lead"}});
    ExpectEach(TrimBoth, {{" \t Jazz Mix \r\n", "Jazz Mix"}, {" \t ", ""}, {"", ""}});
}

TEST(MusicFiles, SelectorTypesOfferEveryMusicExtensionOnceInAFamily)
{
    const auto types = MusicFileTypes();
    ASSERT_GE(types.size(), 3u);
    EXPECT_EQ(types.front().first, "Music files");
    EXPECT_EQ(types.back(), (std::pair<String, String>{"All files", "*"}));

    // The first entry is the folder scan's list, in its order.
    std::istringstream all(types.front().second);
    std::vector<String> listed;
    for (String pattern; all >> pattern;)
        listed.push_back(pattern);
    ASSERT_EQ(listed.size(), MusicExtensions().size());
    for (size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(listed[i], "*" + String(MusicExtensions()[i]));
    const std::vector<String> firstSix = {"*.mp3", "*.mp2", "*.ogg", "*.mid", "*.wav", "*.wma"};
    EXPECT_EQ(std::vector<String>(listed.begin(), listed.begin() + 6), firstSix);

    ASSERT_EQ(types[PlaylistTypeIndex()], PlaylistFileTypes().front());
    EXPECT_EQ(PlaylistFileTypes().front(), (std::pair<String, String>{"Playlists", "*.m3u *.m3u8 *.pls *.xspf"}));
    EXPECT_EQ(PlaylistTypeIndex(), static_cast<int>(types.size()) - 2);

    // Each family entry offers only music extensions, and together they offer each exactly once.
    std::map<String, int> offered;
    for (int i = 1; i < PlaylistTypeIndex(); ++i) {
        std::istringstream family(types[i].second);
        for (String pattern; family >> pattern;) {
            EXPECT_TRUE(IsMusicFile("x" + pattern.substr(1))) << types[i].first << " " << pattern;
            ++offered[pattern];
        }
    }
    for (const String& pattern : listed)
        EXPECT_EQ(offered[pattern], 1) << pattern;
    EXPECT_EQ(offered.size(), listed.size());
}
