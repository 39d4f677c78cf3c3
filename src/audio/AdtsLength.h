#pragma once

#include <string>

namespace audio {

// The length of a raw AAC (ADTS) file, counted from its frame headers: the
// container states none, and a bit-rate estimate is far off for variable rates.
// Every frame decodes to 1024 samples per raw data block. -1 when the file
// holds no ADTS frame.
long long AdtsLengthMs(const std::string& path);

}  // namespace audio
