#include <gtest/gtest.h>

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
