#include "audio/ChannelGroup.h"

#include <algorithm>
#include <cmath>

namespace audio {

Result ChannelGroup::GetVolume(float* volume) const
{
    if (!volume)
        return kErrInvalidParam;
    *volume = Volume();
    return kOk;
}

Result ChannelGroup::SetVolume(float volume)
{
    if (std::isnan(volume))
        return kErrInvalidParam;
    volume_.store(std::clamp(volume, 0.0f, 1.0f), std::memory_order_relaxed);
    return kOk;
}

}  // namespace audio
