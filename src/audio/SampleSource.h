#pragma once

#include <cstddef>

#include "audio/Result.h"

namespace audio {

// Produces a file's audio as interleaved stereo float frames at kSampleRate.
// Used by one decoder thread at a time.
class SampleSource {
public:
    virtual ~SampleSource() = default;

    // Fills up to `capacity` frames; *produced is 0 only at the end of the audio.
    virtual Result Read(float* frames, std::size_t capacity, std::size_t* produced) = 0;
    // The next Read starts exactly at this millisecond (or at the end, if beyond it).
    virtual Result SeekMs(unsigned positionMs) = 0;
};

}  // namespace audio
