#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "playlists/Playlist.h"
#include "support/TempDir.h"

// A music folder with the hand-written playlists of tests/fixtures/playlists
// copied into its "lists" folder, and the music files they name (empty files:
// reading a playlist only looks at names and kinds of files).
class PlaylistFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::create_directories(Lists());
        for (const auto& entry : fs::directory_iterator(fs::path(QP_FIXTURES) / "playlists"))
            if (entry.path().filename() != ".gitattributes")
                fs::copy_file(entry.path(), Lists() / entry.path().filename());
        for (const char* track : {"Björk/Homogenic/01 Hunter.mp3", "Björk/Homogenic/02 Jóga.mp3",
                                  "Björk/Homogenic/03 Unravel.mp3", "Żółć/01 Gęś i łabędź.flac",
                                  "Żółć/02 Zażółć.opus", "Album One/01 First.flac", "Album One/02 Second.m4a"})
            Touch(Lists() / track);
        Touch(dir.Path() / "outside.ogg");
    }

    static void Touch(const std::filesystem::path& path)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "";
    }

    std::filesystem::path Lists() const { return dir.Path() / "lists"; }
    std::string List(const std::string& name) const { return (Lists() / name).string(); }
    std::string Track(const std::string& relative) const { return (Lists() / relative).string(); }

    static std::vector<std::string> Paths(const PlaylistFile& file)
    {
        std::vector<std::string> paths;
        for (const PlaylistEntry& entry : file.entries)
            paths.push_back(entry.path);
        return paths;
    }

    // The reason given for the entry whose text contains `part`; empty when none is listed.
    static std::string ReasonFor(const PlaylistFile& file, const std::string& part)
    {
        for (const PlaylistProblem& problem : file.problems)
            if (problem.entry.find(part) != std::string::npos)
                return problem.reason;
        return {};
    }

    TempDir dir;
};
