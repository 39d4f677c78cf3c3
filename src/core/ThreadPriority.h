#pragma once

// Lets the calling thread yield the processor to the rest of the program: its
// nice value goes up by `steps` and the scheduler treats it as batch work, so
// an interactive thread that wakes up runs first. For helper threads doing
// bulk work while the user-interface thread must stay responsive. Best
// effort: where the system refuses, the thread keeps its priority.
void LowerThisThreadPriority(int steps);
