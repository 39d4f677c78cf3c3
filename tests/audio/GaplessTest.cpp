// A track queued behind another starts on the sample after the other's last one.
#include <gtest/gtest.h>

#include "audio/OfflineSystem.h"

using namespace audio;

namespace {

// Frames of the first half of the tone, as the fixture script cuts it.
constexpr std::size_t kHalfFrames = 20000;

class GaplessTest : public OfflineSystemTest {
protected:
    unsigned HandOvers(ChannelHandle channel)
    {
        unsigned count = 0;
        system.GetHandOvers(channel, &count);
        return count;
    }

    // Plays `first` with `second` queued behind it; returns the output until both have ended.
    std::vector<float> PlayJoined(const std::string& first, const std::string& second, unsigned* handOvers)
    {
        const ChannelHandle a = Play(Open(first));
        ChannelHandle b;
        EXPECT_EQ(system.QueueSound(a, Open(second), &b), kOk);
        EXPECT_FALSE(Playing(b)) << "a queued channel is silent until its turn";
        const std::vector<float> joined = RenderWhile([&] { return Playing(a) || Playing(b); });
        *handOvers = HandOvers(a);
        return joined;
    }

    std::vector<float> PlayAlone(const std::string& name) { return Render(Play(Open(name))); }

    // The largest step between neighbouring samples of the left channel in [from, to).
    static float LargestStep(const std::vector<float>& audio, std::size_t from, std::size_t to)
    {
        float largest = 0.0f;
        for (std::size_t frame = std::max<std::size_t>(from, 1); frame < to; ++frame)
            largest = std::max(largest, std::fabs(audio[frame * kOutputChannels] - audio[(frame - 1) * kOutputChannels]));
        return largest;
    }
};

struct Pair {
    const char* first;
    const char* second;
};

class GaplessPairTest : public GaplessTest, public ::testing::WithParamInterface<Pair> {};

}  // namespace

TEST_P(GaplessPairTest, TheSecondFileStartsOnTheSampleAfterTheFirstOnesLast)
{
    const std::vector<float> first = PlayAlone(GetParam().first);
    const std::vector<float> second = PlayAlone(GetParam().second);
    // Encoder delay and padding are trimmed: the first half decodes to exactly the frames it was cut to.
    EXPECT_EQ(first.size() / kOutputChannels, kHalfFrames);

    unsigned handOvers = 0;
    const std::vector<float> joined = PlayJoined(GetParam().first, GetParam().second, &handOvers);
    EXPECT_EQ(handOvers, 1u);
    std::vector<float> expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    ASSERT_EQ(joined.size(), expected.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < joined.size(); ++i)
        differing += joined[i] != expected[i];
    EXPECT_EQ(differing, 0u) << "samples differ from the two files played one after the other";

    // The join is nearly as smooth as the tone itself. Lossy coding leaves a small error at
    // each cut end; silence or lost samples would step by up to the tone's full amplitude.
    const float within = LargestStep(joined, kHalfFrames - 2000, kHalfFrames - 10);
    const float across = LargestStep(joined, kHalfFrames - 10, kHalfFrames + 10);
    EXPECT_LT(across, within * 3.0f) << "a click at the boundary";
}

INSTANTIATE_TEST_SUITE_P(Formats, GaplessPairTest,
                         ::testing::Values(Pair{"gapless-a.wav", "gapless-b.wav"}, Pair{"gapless-a.mp3", "gapless-b.mp3"},
                                           Pair{"gapless-a.ogg", "gapless-b.ogg"},
                                           Pair{"gapless-a.wav", "gapless-b48.wav"}),
                         [](const auto& info) {
                             const std::string second = info.param.second;
                             return second.substr(second.find('-') + 1, second.find('.') - second.find('-') - 1) +
                                    "_" + second.substr(second.find('.') + 1);
                         });

TEST_F(GaplessTest, WhatIsQueuedCanBeReplacedOrDroppedAndTheEndStaysAsWithoutIt)
{
    const StreamHandle wav = Open("gapless-b.wav");
    const StreamHandle ogg = Open("gapless-b.ogg");
    const ChannelHandle a = Play(Open("gapless-a.wav"));
    ChannelHandle queued;
    ASSERT_EQ(system.QueueSound(a, wav, &queued), kOk);
    ChannelHandle replacing;
    ASSERT_EQ(system.QueueSound(a, ogg, &replacing), kOk);
    bool playing = true;
    EXPECT_EQ(system.IsPlaying(queued, &playing), kErrInvalidHandle) << "the replaced queue is stopped";

    // Stopping the queued channel undoes the queue: the first file ends alone.
    ASSERT_EQ(system.Stop(replacing), kOk);
    const std::vector<float> alone = Render(a);
    EXPECT_EQ(alone.size() / kOutputChannels, kHalfFrames);
    EXPECT_EQ(HandOvers(a), 0u);
    EXPECT_FALSE(Playing(replacing));
    // Too late to queue behind a channel that has ended.
    EXPECT_EQ(system.QueueSound(a, wav, &queued), kErrInvalidHandle);
    EXPECT_FALSE(queued);
}

TEST_F(GaplessTest, StoppingThePlayingChannelNeverStartsTheQueuedOne)
{
    const ChannelHandle a = Play(Open("gapless-a.wav"));
    ChannelHandle b;
    ASSERT_EQ(system.QueueSound(a, Open("gapless-b.wav"), &b), kOk);
    Render(a, 1000);
    ASSERT_EQ(system.Stop(a), kOk);
    std::vector<float> block(4096 * kOutputChannels);
    int delivered = -1;
    system.RenderOutput(block.data(), 4096, &delivered);
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(Playing(b));
    // The slot of the queued channel is free again for a new play once it is stopped.
    EXPECT_EQ(system.Stop(b), kOk);
}

TEST_F(GaplessTest, ASeekKeepsTheQueueAndThePositionCountsFromTheNewTracksStart)
{
    const ChannelHandle a = Play(Open("gapless-a.wav"));
    ChannelHandle b;
    ASSERT_EQ(system.QueueSound(a, Open("gapless-b.wav"), &b), kOk);
    Render(a, 2000);
    ASSERT_EQ(system.SetPositionMs(a, 400), kOk);
    // Rendered up to the buffer in which the second file took over, which it filled up.
    const std::vector<float> rest = Render(a);
    const std::size_t ofFirst = kHalfFrames - static_cast<std::size_t>(MsToFrames(400));
    ASSERT_GE(rest.size() / kOutputChannels, ofFirst);
    ASSERT_LT(rest.size() / kOutputChannels, ofFirst + 256);
    EXPECT_EQ(HandOvers(a), 1u);
    EXPECT_TRUE(Playing(b));
    const unsigned position = Position(b);
    EXPECT_EQ(position, FramesToMs(static_cast<long long>(rest.size() / kOutputChannels - ofFirst)));
    Render(b, 4410);
    EXPECT_NEAR(Position(b), position + 100, 1);
}

TEST_F(GaplessTest, AChannelGainScalesItsSamplesWithTheMasterVolume)
{
    const std::vector<float> plain = PlayAlone("gapless-a.wav");
    ChannelGroup* master = nullptr;
    ASSERT_EQ(system.GetMasterChannelGroup(&master), kOk);
    master->SetVolume(0.5f);
    const ChannelHandle channel = Play(Open("gapless-a.wav"));
    ASSERT_EQ(system.SetGain(channel, 0.25f), kOk);
    EXPECT_EQ(system.SetGain(channel, -1.0f), kErrInvalidParam);
    EXPECT_EQ(system.SetGain(channel, std::nanf("")), kErrInvalidParam);
    const std::vector<float> scaled = Render(channel);
    ASSERT_EQ(scaled.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); i += 97)
        ASSERT_FLOAT_EQ(scaled[i], plain[i] * 0.5f * 0.25f) << i;
}

TEST_F(GaplessTest, EncoderDelayPaddingAndPrimingAreTrimmed)
{
    // One second of tone each: MP3 (delay and padding in its first frame's record), Opus
    // (pre-skip in its header), AAC in MP4 (an edit list), Vorbis (its last page's position).
    for (const char* name : {"tone.mp3", "tone.opus", "tone-aac.m4a", "tone.ogg"}) {
        SCOPED_TRACE(name);
        const std::vector<float> audio = PlayAlone(name);
        EXPECT_EQ(audio.size() / kOutputChannels, static_cast<std::size_t>(kSampleRate));
    }
}
