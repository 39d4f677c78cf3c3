#include "audio/Mixer.h"

#include <algorithm>
#include <cstring>

#include "audio/PcmFormat.h"

namespace audio {

Mixer::Mixer(int channelCount) : scratch_(kScratchFrames * kOutputChannels)
{
    for (int i = 0; i < channelCount; ++i)
        slots_.push_back(std::make_unique<ChannelSlot>());
}

void Mixer::Mix(float* out, std::size_t frames)
{
    std::memset(out, 0, frames * kOutputChannels * sizeof(float));
    std::unique_lock lock(lock_, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    const float volume = master_.Volume();
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(kScratchFrames, frames - done);
        for (auto& slot : slots_)
            slot->MixInto(out + done * kOutputChannels, n, scratch_.data(), volume);
        done += n;
    }
}

}  // namespace audio
