#pragma once

#include <atomic>

#include "audio/Result.h"

namespace audio {

// The master group: one volume, 0.0 to 1.0, applied by the mixer to every channel.
class ChannelGroup {
public:
    Result GetVolume(float* volume) const;
    // Values outside 0..1 are clamped; NaN is refused.
    Result SetVolume(float volume);

    float Volume() const { return volume_.load(std::memory_order_relaxed); }

private:
    std::atomic<float> volume_{1.0f};
};

}  // namespace audio
