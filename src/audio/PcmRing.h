#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace audio {

// A fixed ring of interleaved stereo frames between one producer (the decoder
// thread) and one consumer (the output callback). Neither side ever blocks.
class PcmRing {
public:
    explicit PcmRing(std::size_t capacityFrames);

    std::size_t CapacityFrames() const { return capacity_; }
    std::size_t ReadableFrames() const;
    std::size_t WritableFrames() const;

    // Each copies as many frames as fit or are ready and returns that count.
    std::size_t Write(const float* frames, std::size_t count);
    std::size_t Read(float* frames, std::size_t count);
    // Like Read, but adds the frames times `gain` to what `out` holds.
    std::size_t ReadAdd(float* out, std::size_t count, float gain);

    // Producer side, writing in place: the free frames that follow the written
    // ones without wrapping (at most `most`), then the count actually written.
    // The consumer never reads free frames, and Clear leaves them free.
    float* WriteSpace(std::size_t most, std::size_t* frames);
    void CommitWrite(std::size_t frames);

    // Empties the ring; only while neither side is reading or writing.
    void Clear();

private:
    std::size_t capacity_;
    std::vector<float> samples_;
    // Monotonic frame counters; the difference is the fill level.
    std::atomic<std::size_t> written_{0};
    std::atomic<std::size_t> read_{0};
};

}  // namespace audio
