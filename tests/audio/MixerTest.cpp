#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "audio/Mixer.h"
#include "audio/PcmFormat.h"

using namespace audio;

namespace {

// Endless constant samples: what the mixer outputs shows its scaling exactly.
class ConstantSource : public SampleSource {
public:
    explicit ConstantSource(float value) : value_(value) {}
    Result Read(float* frames, std::size_t capacity, std::size_t* produced) override
    {
        std::fill(frames, frames + capacity * kOutputChannels, value_);
        *produced = capacity;
        return kOk;
    }
    Result SeekMs(unsigned) override { return kOk; }

private:
    float value_;
};

// `frames` constant frames, then the end of the audio.
class FiniteSource : public SampleSource {
public:
    FiniteSource(float value, std::size_t frames) : value_(value), left_(frames) {}
    Result Read(float* frames, std::size_t capacity, std::size_t* produced) override
    {
        *produced = std::min(capacity, left_);
        std::fill(frames, frames + *produced * kOutputChannels, value_);
        left_ -= *produced;
        return kOk;
    }
    Result SeekMs(unsigned) override { return kOk; }

private:
    float value_;
    std::size_t left_;
};

void WaitForFrames(const ChannelSlot& slot, std::size_t frames)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (slot.BufferedFrames() < frames && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void StartConstant(Mixer& mixer, int slot, float value)
{
    ASSERT_EQ(mixer.Slot(slot).Start(std::make_unique<ConstantSource>(value), 1, 1, false), kOk);
    auto lock = mixer.Lock();
    mixer.Slot(slot).Activate();
}

void WaitUntilBuffered(Mixer& mixer, std::size_t frames)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (int i = 0; i < mixer.ChannelCount(); ++i)
        while (mixer.Slot(i).IsActive() && mixer.Slot(i).BufferedFrames() < frames &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// `a` plays 100 frames of 0.25, then hands over to `b`, queued behind it with 0.5 for ever.
void StartHandOver(Mixer& mixer, ChannelSlot& a, ChannelSlot& b)
{
    ASSERT_EQ(a.Start(std::make_unique<FiniteSource>(0.25f, 100), 1, 1, false), kOk);
    ASSERT_EQ(b.Start(std::make_unique<ConstantSource>(0.5f), 2, 2, false), kOk);
    b.MarkQueued();
    auto lock = mixer.Lock();
    a.Activate();
    a.SetSuccessor(&b);
}

// Waits until the channels' decoders have filled their rings, then mixes one buffer.
std::vector<float> MixFullBuffer(Mixer& mixer)
{
    WaitUntilBuffered(mixer, 512);
    std::vector<float> out(512 * kOutputChannels);
    mixer.Mix(out.data(), 512);
    return out;
}

}  // namespace

TEST(MixerTest, SumsChannelsAndAppliesTheMasterVolume)
{
    Mixer mixer(4);
    StartConstant(mixer, 0, 0.25f);
    StartConstant(mixer, 2, 0.125f);
    ASSERT_EQ(mixer.Master().SetVolume(0.375f), kOk);

    for (float sample : MixFullBuffer(mixer))
        ASSERT_FLOAT_EQ(sample, (0.25f + 0.125f) * 0.375f);
    EXPECT_EQ(mixer.Slot(0).PositionMs(), FramesToMs(512));
}

TEST(MixerTest, VolumeZeroMutesAndPausedChannelsDoNotAdvance)
{
    Mixer mixer(2);
    StartConstant(mixer, 0, 0.5f);
    StartConstant(mixer, 1, 0.5f);
    mixer.Slot(1).SetPaused(true);
    mixer.Master().SetVolume(0.0f);
    for (float sample : MixFullBuffer(mixer))
        ASSERT_EQ(sample, 0.0f);
    EXPECT_GT(mixer.Slot(0).PositionMs(), 0u);
    EXPECT_EQ(mixer.Slot(1).PositionMs(), 0u);
    EXPECT_TRUE(mixer.Slot(1).IsActive());
}

TEST(MixerTest, VolumeIsClampedAndNanRefused)
{
    ChannelGroup group;
    float volume = -1.0f;
    EXPECT_EQ(group.SetVolume(1.5f), kOk);
    group.GetVolume(&volume);
    EXPECT_EQ(volume, 1.0f);
    EXPECT_EQ(group.SetVolume(std::nanf("")), kErrInvalidParam);
    group.GetVolume(&volume);
    EXPECT_EQ(volume, 1.0f);
}

TEST(MixerTest, OutputIsSilentWhileTheControllerHoldsTheLock)
{
    Mixer mixer(1);
    StartConstant(mixer, 0, 0.5f);
    WaitUntilBuffered(mixer, 256);
    std::vector<float> out(256 * kOutputChannels, 9.0f);
    {
        auto lock = mixer.Lock();
        mixer.Mix(out.data(), 256);
    }
    for (float sample : out)
        ASSERT_EQ(sample, 0.0f);
    EXPECT_EQ(mixer.Slot(0).PositionMs(), 0u);
}

TEST(MixerTest, AQueuedChannelTakesOverInTheSameBufferAtTheFrameAfterTheLast)
{
    // The successor after and before its predecessor in the mixer's order.
    for (const auto& [first, second] : {std::pair{0, 2}, std::pair{2, 0}}) {
        SCOPED_TRACE(first);
        Mixer mixer(3);
        ChannelSlot& a = mixer.Slot(first);
        ChannelSlot& b = mixer.Slot(second);
        ASSERT_NO_FATAL_FAILURE(StartHandOver(mixer, a, b));
        EXPECT_FALSE(b.IsFree());
        WaitForFrames(a, 100);
        WaitForFrames(b, 1024);

        std::vector<float> out(512 * kOutputChannels);
        EXPECT_EQ(mixer.Mix(out.data(), 512), 512u);
        for (std::size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], i < 100 * kOutputChannels ? 0.25f : 0.5f) << i;
        EXPECT_FALSE(a.IsActive());
        EXPECT_EQ(a.HandOvers(), 1u);
        EXPECT_TRUE(b.IsActive());
        EXPECT_FALSE(b.IsQueued());
        EXPECT_EQ(b.PositionMs(), FramesToMs(412));

        // From now on the successor is mixed once per buffer like any channel.
        mixer.Mix(out.data(), 512);
        for (float sample : out)
            ASSERT_EQ(sample, 0.5f);
    }
}

TEST(MixerTest, AnUnlinkedSuccessorStaysSilentAndTheEndIsNoHandOver)
{
    Mixer mixer(2);
    ChannelSlot& a = mixer.Slot(0);
    ChannelSlot& b = mixer.Slot(1);
    ASSERT_NO_FATAL_FAILURE(StartHandOver(mixer, a, b));
    {
        auto lock = mixer.Lock();
        mixer.Unlink(b);
    }
    WaitForFrames(a, 100);
    std::vector<float> out(512 * kOutputChannels);
    EXPECT_EQ(mixer.Mix(out.data(), 512), 100u);
    EXPECT_EQ(out[100 * kOutputChannels], 0.0f);
    EXPECT_FALSE(a.IsActive());
    EXPECT_EQ(a.HandOvers(), 0u);
    EXPECT_FALSE(b.IsActive());
}
