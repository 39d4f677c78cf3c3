#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/PcmRing.h"
#include "audio/Result.h"
#include "audio/SampleSource.h"

namespace audio {

// One channel: a decoder thread fills the slot's ring from a SampleSource and
// the output callback drains it. Start, Stop, Seek, the pause flag, the gain and
// the successor belong to the controlling thread; MixInto, TakeOver and Finish
// belong to the output callback, which calls them only while holding the mixer's
// lock (as do Start, Stop, Seek and SetSuccessor while they change what the
// callback sees).
//
// A slot can be queued behind another one: it decodes ahead but stays silent
// until the output reaches its predecessor's last sample, and then plays from the
// next sample of the same buffer, so the two tracks meet without a gap.
class ChannelSlot {
public:
    ChannelSlot() = default;
    ~ChannelSlot();
    ChannelSlot(const ChannelSlot&) = delete;
    ChannelSlot& operator=(const ChannelSlot&) = delete;

    // Starts decoding; the channel plays once `Activate` is called under the mixer's lock.
    Result Start(std::unique_ptr<SampleSource> source, uint32_t streamId, uint32_t serial, bool paused);
    void Activate() { active_.store(true, std::memory_order_release); }
    // Ends the channel and its decoder thread. Call Deactivate under the mixer's lock first.
    void Deactivate() { active_.store(false, std::memory_order_release); }
    void Stop();

    // Controlling thread: a started slot waits silently for its predecessor's end.
    void MarkQueued() { queued_.store(true, std::memory_order_release); }
    // Neither playing nor queued behind another channel.
    bool IsFree() const { return !queued_.load(std::memory_order_acquire) && !IsActive(); }
    bool IsQueued() const { return queued_.load(std::memory_order_acquire); }
    // The slot that takes over at this one's last sample; under the mixer's lock.
    void SetSuccessor(ChannelSlot* next) { successor_ = next; }
    ChannelSlot* Successor() const { return successor_; }
    // Times this slot handed the output over to its successor: a generation counter
    // that the output callback bumps and the controlling thread compares.
    uint32_t HandOvers() const { return handOvers_.load(std::memory_order_acquire); }

    // Output callback, under the mixer's lock: the queued slot becomes the playing one.
    void TakeOver();
    // Output callback, under the mixer's lock: the audio has been played to its end. The
    // hand-over is counted before the slot turns inactive, so a controlling thread that sees
    // it inactive also sees the hand-over and its active successor.
    void Finish(bool handedOver);

    // Scales this channel's samples besides the master volume (a loudness correction).
    void SetGain(float gain) { gain_.store(gain, std::memory_order_relaxed); }
    float Gain() const { return gain_.load(std::memory_order_relaxed); }

    // Discards everything decoded so far; under the mixer's lock.
    void BeginSeek(unsigned positionMs);

    uint32_t Serial() const { return serial_; }
    uint32_t StreamId() const { return streamId_; }
    bool IsActive() const { return active_.load(std::memory_order_acquire); }
    bool IsPaused() const { return paused_.load(std::memory_order_relaxed); }
    void SetPaused(bool paused) { paused_.store(paused, std::memory_order_relaxed); }
    unsigned PositionMs() const;
    // Decoded frames waiting in the ring.
    std::size_t BufferedFrames() const { return ring_ ? ring_->ReadableFrames() : 0; }

    // Adds up to `frames` frames, scaled by `volume` and the slot's gain, into `out`. Returns the
    // frames it took from the ring; *finished tells that the last decoded frame has been taken.
    std::size_t MixInto(float* out, std::size_t frames, float volume, bool* finished);

private:
    void DecodeLoop();
    // Decoder thread: decodes chunks until the ring is full; false once told to quit.
    bool FillRing();
    // Any thread: ends the decoder's current or next wait. Never blocks.
    void WakeDecoder();

    // About 1.5 s: refilled from half empty, the decoder wakes about once every 0.75 s.
    static constexpr std::size_t kRingFrames = 65536;
    static constexpr std::size_t kChunkFrames = 8192;

    std::unique_ptr<PcmRing> ring_;
    std::unique_ptr<SampleSource> source_;
    std::thread thread_;
    uint32_t streamId_ = 0;
    uint32_t serial_ = 0;

    // Guards the decoder's hand-over to the ring against seeks and stops; the
    // output callback never takes it.
    std::mutex mutex_;
    // Bumped by every wake-up call; the decoder sleeps until it moves, so a call
    // made between its last check and its sleep is not lost.
    std::atomic<uint32_t> wakeCalls_{0};
    bool quit_ = false;
    bool sourceDone_ = false;
    long long pendingSeekMs_ = -1;
    uint64_t generation_ = 0;  // bumped by each seek; chunks decoded before it are dropped

    std::atomic<bool> active_{false};
    std::atomic<bool> queued_{false};
    std::atomic<bool> paused_{false};
    std::atomic<float> gain_{1.0f};
    std::atomic<uint32_t> handOvers_{0};
    ChannelSlot* successor_ = nullptr;  // under the mixer's lock
    std::atomic<bool> endOfAudio_{false};       // the last decoded frames are in the ring
    std::atomic<bool> decoderWantsSpace_{false};  // the decoder sleeps until half the ring is free
    std::atomic<long long> deliveredFrames_{0};  // handed to the device since the last seek
    std::atomic<unsigned> baseMs_{0};            // the last seek's target
};

}  // namespace audio
