#pragma once

#include <fstream>

// The one-minute load average, printed beside the figures: on a two-core
// machine another program's work moves every ratio.
inline double LoadAverage()
{
    double load = 0;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}
