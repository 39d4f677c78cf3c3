#pragma once

// The process entry: runs the player and returns the process exit code.
int RunEntry(int argc, char** argv);
