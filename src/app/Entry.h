#pragma once

// The process entry: reads the command line, runs the player and returns the
// process exit code: 0, or 2 for an unknown option.
int RunEntry(int argc, char** argv);
