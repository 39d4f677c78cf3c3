#include "audio/Mixer.h"

#include <algorithm>
#include <cstring>

#include "audio/PcmFormat.h"

namespace audio {

Mixer::Mixer(int channelCount)
{
    for (int i = 0; i < channelCount; ++i)
        slots_.push_back(std::make_unique<ChannelSlot>());
    tookOver_.reserve(slots_.size());
}

void Mixer::Unlink(ChannelSlot& slot)
{
    for (auto& other : slots_)
        if (other->Successor() == &slot)
            other->SetSuccessor(nullptr);
    slot.SetSuccessor(nullptr);
}

std::size_t Mixer::MixChain(ChannelSlot& slot, float* out, std::size_t frames, float volume)
{
    std::size_t filled = 0;
    for (ChannelSlot* playing = &slot; playing;) {
        bool finished = false;
        filled += playing->MixInto(out + filled * kOutputChannels, frames - filled, volume, &finished);
        if (!finished)
            break;
        ChannelSlot* next = playing->Successor();
        if (next && next->IsQueued() && tookOver_.size() < tookOver_.capacity()) {
            next->TakeOver();
            tookOver_.push_back(next);  // within the reserved capacity: no allocation
        }
        else {
            next = nullptr;
        }
        playing->SetSuccessor(nullptr);
        playing->Finish(next != nullptr);
        ends_.Raise();
        playing = next;
    }
    return filled;
}

std::size_t Mixer::Mix(float* out, std::size_t frames)
{
    std::memset(out, 0, frames * kOutputChannels * sizeof(float));
    std::unique_lock lock(lock_, std::try_to_lock);
    if (!lock.owns_lock())
        return 0;
    const float volume = master_.Volume();
    std::size_t most = 0;
    tookOver_.clear();
    for (auto& slot : slots_)
        if (std::find(tookOver_.begin(), tookOver_.end(), slot.get()) == tookOver_.end())
            most = std::max(most, MixChain(*slot, out, frames, volume));
    return most;
}

}  // namespace audio
