#include <gtest/gtest.h>

#include <numeric>

#include "audio/PcmRing.h"
#include "audio/Result.h"

using namespace audio;

TEST(PcmRingTest, WrapsAroundAndRefusesWhatDoesNotFit)
{
    PcmRing ring(8);
    std::vector<float> in(2 * 12);
    std::iota(in.begin(), in.end(), 0.0f);
    std::vector<float> out(2 * 12, -1.0f);

    EXPECT_EQ(ring.Write(in.data(), 6), 6u);
    EXPECT_EQ(ring.Read(out.data(), 4), 4u);
    // 2 frames left; 6 more fit, wrapping past the end of the storage.
    EXPECT_EQ(ring.Write(in.data() + 12, 12), 6u);
    EXPECT_EQ(ring.ReadableFrames(), 8u);
    EXPECT_EQ(ring.WritableFrames(), 0u);
    EXPECT_EQ(ring.Read(out.data() + 8, 12), 8u);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(out[i], in[i]) << i;
    EXPECT_EQ(ring.Read(out.data(), 1), 0u);
}

// The decoder writes in place: the space offered stops at the end of the
// storage and at what is free; only committed frames are readable, and a
// Clear while a write is under way leaves its space free.
TEST(PcmRingTest, WritingInPlaceStopsAtTheWrapAndCountsOnceCommitted)
{
    PcmRing ring(8);
    const float frames[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ring.Write(frames, 6);
    float out[16] = {};
    ring.Read(out, 5);
    std::size_t space = 0;
    float* at = ring.WriteSpace(100, &space);
    EXPECT_EQ(space, 2u);  // up to the end of the storage, though 7 frames are free
    at[0] = 42;
    EXPECT_EQ(ring.ReadableFrames(), 1u);
    ring.CommitWrite(1);
    EXPECT_EQ(ring.ReadableFrames(), 2u);
    EXPECT_EQ(ring.Read(out, 4), 2u);
    EXPECT_EQ(out[0], 11);
    EXPECT_EQ(out[2], 42);

    at = ring.WriteSpace(3, &space);
    EXPECT_EQ(space, 1u);  // the last frame of the storage
    ring.Clear();
    EXPECT_EQ(ring.WriteSpace(100, &space), at);
    EXPECT_EQ(ring.WritableFrames(), 8u);
    at = ring.WriteSpace(0, &space);
    EXPECT_EQ(space, 0u);
}

TEST(PcmRingTest, ClearDropsEverythingReadable)
{
    PcmRing ring(4);
    const float frames[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ring.Write(frames, 3);
    ring.Clear();
    EXPECT_EQ(ring.ReadableFrames(), 0u);
    EXPECT_EQ(ring.WritableFrames(), 4u);
}

TEST(ResultTextTest, EveryCodeHasATextAndUnknownCodesSaySo)
{
    EXPECT_STREQ(ResultText(kOk), "No errors.");
    EXPECT_STREQ(ResultText(kErrFileNotFound), "File not found.");
    EXPECT_STREQ(ResultText(kErrMemory), "Not enough memory or resources.");
    EXPECT_STREQ(ResultText(kErrMemory + 1), "Unknown error.");
    EXPECT_STREQ(ResultText(-5), "Unknown error.");
}
