#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/ChannelGroup.h"
#include "audio/ChannelSlot.h"

namespace audio {

// Sums the playing channels into the output buffer and applies the master volume.
class Mixer {
public:
    explicit Mixer(int channelCount);

    int ChannelCount() const { return static_cast<int>(slots_.size()); }
    ChannelSlot& Slot(int index) { return *slots_[static_cast<std::size_t>(index)]; }
    const ChannelSlot& Slot(int index) const { return *slots_[static_cast<std::size_t>(index)]; }
    ChannelGroup& Master() { return master_; }

    // Held by the controlling thread while it changes what the callback sees.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock(lock_); }

    // The output callback: never waits. While the controlling thread holds the
    // lock (a few microseconds around a seek, start or stop) it outputs silence.
    // Returns the most frames any one channel contributed.
    std::size_t Mix(float* out, std::size_t frames);

private:
    std::vector<std::unique_ptr<ChannelSlot>> slots_;
    ChannelGroup master_;
    std::mutex lock_;
};

}  // namespace audio
