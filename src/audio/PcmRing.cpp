#include "audio/PcmRing.h"

#include <algorithm>
#include <cstring>

#include "audio/PcmFormat.h"

namespace audio {

namespace {

// The output buffer never overlaps the ring: saying so lets the compiler use
// vector instructions, which the output callback runs for every sample.
void AddScaled(float* __restrict to, const float* __restrict from, std::size_t samples, float gain)
{
    for (std::size_t i = 0; i < samples; ++i)
        to[i] += from[i] * gain;
}

}  // namespace

PcmRing::PcmRing(std::size_t capacityFrames)
    : capacity_(capacityFrames), samples_(capacityFrames * kOutputChannels)
{
}

std::size_t PcmRing::ReadableFrames() const
{
    return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
}

std::size_t PcmRing::WritableFrames() const { return capacity_ - ReadableFrames(); }

std::size_t PcmRing::Write(const float* frames, std::size_t count)
{
    const std::size_t written = written_.load(std::memory_order_relaxed);
    const std::size_t free = capacity_ - (written - read_.load(std::memory_order_acquire));
    count = std::min(count, free);
    const std::size_t start = written % capacity_;
    const std::size_t first = std::min(count, capacity_ - start);
    std::memcpy(&samples_[start * kOutputChannels], frames, first * kOutputChannels * sizeof(float));
    std::memcpy(&samples_[0], frames + first * kOutputChannels, (count - first) * kOutputChannels * sizeof(float));
    written_.store(written + count, std::memory_order_release);
    return count;
}

float* PcmRing::WriteSpace(std::size_t most, std::size_t* frames)
{
    const std::size_t written = written_.load(std::memory_order_relaxed);
    const std::size_t free = capacity_ - (written - read_.load(std::memory_order_acquire));
    const std::size_t start = written % capacity_;
    *frames = std::min({most, free, capacity_ - start});
    return &samples_[start * kOutputChannels];
}

void PcmRing::CommitWrite(std::size_t frames)
{
    written_.store(written_.load(std::memory_order_relaxed) + frames, std::memory_order_release);
}

std::size_t PcmRing::Read(float* frames, std::size_t count)
{
    const std::size_t read = read_.load(std::memory_order_relaxed);
    const std::size_t ready = written_.load(std::memory_order_acquire) - read;
    count = std::min(count, ready);
    const std::size_t start = read % capacity_;
    const std::size_t first = std::min(count, capacity_ - start);
    std::memcpy(frames, &samples_[start * kOutputChannels], first * kOutputChannels * sizeof(float));
    std::memcpy(frames + first * kOutputChannels, &samples_[0], (count - first) * kOutputChannels * sizeof(float));
    read_.store(read + count, std::memory_order_release);
    return count;
}

std::size_t PcmRing::ReadAdd(float* out, std::size_t count, float gain)
{
    const std::size_t read = read_.load(std::memory_order_relaxed);
    const std::size_t ready = written_.load(std::memory_order_acquire) - read;
    count = std::min(count, ready);
    const std::size_t start = read % capacity_;
    const std::size_t first = std::min(count, capacity_ - start);
    AddScaled(out, &samples_[start * kOutputChannels], first * kOutputChannels, gain);
    AddScaled(out + first * kOutputChannels, &samples_[0], (count - first) * kOutputChannels, gain);
    read_.store(read + count, std::memory_order_release);
    return count;
}

void PcmRing::Clear() { read_.store(written_.load(std::memory_order_acquire), std::memory_order_release); }

}  // namespace audio
