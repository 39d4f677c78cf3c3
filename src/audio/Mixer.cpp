#include "audio/Mixer.h"

#include <algorithm>
#include <cstring>

#include "audio/PcmFormat.h"

namespace audio {

Mixer::Mixer(int channelCount)
    : scratch_(kScratchFrames * kOutputChannels), taken_(static_cast<std::size_t>(channelCount))
{
    for (int i = 0; i < channelCount; ++i)
        slots_.push_back(std::make_unique<ChannelSlot>());
}

std::size_t Mixer::Mix(float* out, std::size_t frames)
{
    std::memset(out, 0, frames * kOutputChannels * sizeof(float));
    std::unique_lock lock(lock_, std::try_to_lock);
    if (!lock.owns_lock())
        return 0;
    const float volume = master_.Volume();
    std::vector<std::size_t>& taken = taken_;
    taken.assign(slots_.size(), 0);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(kScratchFrames, frames - done);
        for (std::size_t i = 0; i < slots_.size(); ++i)
            taken[i] += slots_[i]->MixInto(out + done * kOutputChannels, n, scratch_.data(), volume);
        done += n;
    }
    return taken.empty() ? 0 : *std::max_element(taken.begin(), taken.end());
}

}  // namespace audio
