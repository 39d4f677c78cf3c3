#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/ChannelGroup.h"
#include "audio/ChannelSlot.h"
#include "audio/EndSignal.h"

namespace audio {

// Sums the playing channels into the output buffer and applies the master volume.
// A channel that reaches its last sample hands the rest of the buffer to the
// channel queued behind it (ChannelSlot::SetSuccessor). Every channel that
// plays its last sample raises Ends(), so the controlling thread need not poll.
class Mixer {
public:
    explicit Mixer(int channelCount);

    int ChannelCount() const { return static_cast<int>(slots_.size()); }
    ChannelSlot& Slot(int index) { return *slots_[static_cast<std::size_t>(index)]; }
    const ChannelSlot& Slot(int index) const { return *slots_[static_cast<std::size_t>(index)]; }
    ChannelGroup& Master() { return master_; }
    EndSignal& Ends() { return ends_; }

    // Held by the controlling thread while it changes what the callback sees.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock(lock_); }
    // Controlling thread, under the lock: no channel hands over to `slot` any more, nor `slot` to any.
    void Unlink(ChannelSlot& slot);

    // The output callback: never waits. While the controlling thread holds the
    // lock (a few microseconds around a seek, start or stop) it outputs silence.
    // Returns the most frames any one channel contributed.
    std::size_t Mix(float* out, std::size_t frames);

private:
    // Output callback: mixes `slot` from the start of `out` and, each time a channel of the
    // chain finishes, its successor from the next frame on. Returns the frames filled.
    std::size_t MixChain(ChannelSlot& slot, float* out, std::size_t frames, float volume);

    std::vector<std::unique_ptr<ChannelSlot>> slots_;
    // Output callback only: the successors that took over during the current Mix, which
    // have had their share of this buffer already. Sized once; never allocates in Mix.
    std::vector<ChannelSlot*> tookOver_;
    ChannelGroup master_;
    EndSignal ends_;
    std::mutex lock_;
};

}  // namespace audio
