#pragma once

// The process entry: runs the player and returns the process exit code.
// Command-line arguments are accepted and ignored.
int RunEntry(int argc, char** argv);
