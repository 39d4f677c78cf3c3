#include "audio/ChannelSlot.h"

#include <pthread.h>

#include <system_error>

#include "audio/PcmFormat.h"

namespace audio {

ChannelSlot::~ChannelSlot() { Stop(); }

Result ChannelSlot::Start(std::unique_ptr<SampleSource> source, uint32_t streamId, uint32_t serial, bool paused)
{
    Stop();
    if (!ring_)
        ring_ = std::make_unique<PcmRing>(kRingFrames);
    ring_->Clear();
    source_ = std::move(source);
    streamId_ = streamId;
    serial_ = serial;
    quit_ = false;
    sourceDone_ = false;
    pendingSeekMs_ = -1;
    paused_.store(paused);
    queued_.store(false);
    gain_.store(1.0f);
    endOfAudio_.store(false);
    decoderWantsSpace_.store(false);
    deliveredFrames_.store(0);
    baseMs_.store(0);
    try {
        thread_ = std::thread(&ChannelSlot::DecodeLoop, this);
    }
    catch (const std::system_error&) {
        source_.reset();
        return kErrThread;
    }
    return kOk;
}

void ChannelSlot::Stop()
{
    active_.store(false, std::memory_order_release);
    queued_.store(false, std::memory_order_release);
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        WakeDecoder();
        thread_.join();
    }
    source_.reset();
    streamId_ = 0;
    serial_ = 0;  // handles to this play are stale from now on
}

void ChannelSlot::BeginSeek(unsigned positionMs)
{
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        pendingSeekMs_ = positionMs;
        sourceDone_ = false;
        // The decoder pushes only while holding the mutex, and the callback is held off by
        // the mixer's lock, so the ring can be emptied here.
        ring_->Clear();
        endOfAudio_.store(false, std::memory_order_release);
        deliveredFrames_.store(0, std::memory_order_relaxed);
        baseMs_.store(positionMs, std::memory_order_relaxed);
    }
    WakeDecoder();
}

unsigned ChannelSlot::PositionMs() const
{
    return baseMs_.load(std::memory_order_relaxed) +
           static_cast<unsigned>(FramesToMs(deliveredFrames_.load(std::memory_order_relaxed)));
}

void ChannelSlot::WakeDecoder()
{
    wakeCalls_.fetch_add(1, std::memory_order_release);
    wakeCalls_.notify_one();  // a system call only when the decoder sleeps
}

void ChannelSlot::DecodeLoop()
{
    // Named so that its wake-ups can be counted from outside (the playback benchmark does).
    pthread_setname_np(pthread_self(), "qp-decoder");
    while (true) {
        // Read before looking for work: a wake-up call made after this is never slept through.
        const uint32_t calls = wakeCalls_.load(std::memory_order_acquire);
        if (!FillRing())
            return;
        wakeCalls_.wait(calls, std::memory_order_acquire);
    }
}

bool ChannelSlot::FillRing()
{
    std::unique_lock lock(mutex_);
    while (!quit_) {
        const long long seekMs = pendingSeekMs_;
        pendingSeekMs_ = -1;
        if (seekMs < 0 && (sourceDone_ || ring_->WritableFrames() < kChunkFrames)) {
            // Full, or at the end: the callback wakes the decoder once half the ring is free.
            decoderWantsSpace_.store(!sourceDone_, std::memory_order_release);
            return true;
        }
        const uint64_t generation = generation_;

        // Decoding runs unlocked so that seeks and stops never wait for it. It writes
        // into the ring's free space, which only this thread fills; the frames count
        // once committed.
        lock.unlock();
        Result result = kOk;
        if (seekMs >= 0)
            result = source_->SeekMs(static_cast<unsigned>(seekMs));
        std::size_t produced = 0;
        if (result == kOk) {
            std::size_t space = 0;
            float* to = ring_->WriteSpace(kChunkFrames, &space);
            result = source_->Read(to, space, &produced);
        }
        lock.lock();

        if (generation != generation_)
            continue;  // a seek came in meanwhile: this chunk belongs to the old position
        ring_->CommitWrite(produced);
        if (produced == 0 || result != kOk) {
            // The end of the audio, or a decoding failure that ends it here.
            sourceDone_ = true;
            endOfAudio_.store(true, std::memory_order_release);
        }
    }
    return false;
}

void ChannelSlot::TakeOver()
{
    active_.store(true, std::memory_order_release);
    queued_.store(false, std::memory_order_release);
}

void ChannelSlot::Finish(bool handedOver)
{
    if (handedOver)
        handOvers_.fetch_add(1, std::memory_order_release);
    active_.store(false, std::memory_order_release);
}

std::size_t ChannelSlot::MixInto(float* out, std::size_t frames, float volume, bool* finished)
{
    *finished = false;
    if (!active_.load(std::memory_order_acquire) || paused_.load(std::memory_order_relaxed))
        return 0;
    const bool ended = endOfAudio_.load(std::memory_order_acquire);
    // One multiply per sample: the master volume and the channel's gain are combined first.
    const std::size_t got = ring_->ReadAdd(out, frames, volume * gain_.load(std::memory_order_relaxed));
    deliveredFrames_.fetch_add(static_cast<long long>(got), std::memory_order_relaxed);
    // Waking the decoder only once half the ring is free lets it decode several chunks per wake-up.
    if (ring_->WritableFrames() >= kRingFrames / 2 && decoderWantsSpace_.exchange(false, std::memory_order_acq_rel))
        WakeDecoder();
    // Checked against the flag read before draining, so no frame written after it is lost.
    *finished = ended && ring_->ReadableFrames() == 0;
    return got;
}

}  // namespace audio
