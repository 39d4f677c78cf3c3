#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

// Helpers shared by the audio benchmarks.

inline double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

inline double WallSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// Writes `seconds` of stereo test signal with the ffmpeg command-line tool; false if it fails.
// Pink noise under a tone keeps the encoder as busy as music does; a pure tone would
// decode so cheaply that fixed costs would dominate every figure.
inline bool MakeToneFile(const std::string& path, int seconds, const std::string& codecOptions)
{
    const std::string duration = std::to_string(seconds);
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -y -f lavfi -i \"sine=frequency=440:duration=" + duration +
        "\" -f lavfi -i \"anoisesrc=color=pink:amplitude=0.2:seed=5:duration=" + duration +
        "\" -filter_complex \"[0][1]amerge=inputs=2\" -ar 44100 -ac 2 " + codecOptions + " \"" + path + "\"";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not create %s\n", path.c_str());
        return false;
    }
    return true;
}
