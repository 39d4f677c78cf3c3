#pragma once

#include <string>
#include <vector>

// The player's command line: files, folders, playlist files and file:// URIs
// to add to the current playlist, and two options.
struct CommandLine {
    enum class Action {
        Run,      // start the player (with `paths`, possibly none)
        Help,     // print UsageText on stdout, exit 0
        Version,  // print VersionText on stdout, exit 0
        BadUsage  // print `problems` and UsageText on stderr, exit 2
    };
    Action action = Action::Run;
    // Absolute, existing paths in the order given.
    std::vector<std::string> paths;
    // One line per argument that was dropped (missing file, URI that is not a
    // local file) or, for BadUsage, the unknown option.
    std::vector<std::string> problems;
};

// Reads the arguments after the program name. Relative paths are taken from
// workingDir. Options are recognised until "--"; anything after it is a path.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& workingDir);

std::string UsageText(const std::string& program);
std::string VersionText();
