#include "audio/Mixer.h"

#include <algorithm>
#include <cstring>

#include "audio/PcmFormat.h"

namespace audio {

Mixer::Mixer(int channelCount)
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
    std::size_t most = 0;
    for (auto& slot : slots_)
        most = std::max(most, slot->MixInto(out, frames, volume));
    return most;
}

}  // namespace audio
