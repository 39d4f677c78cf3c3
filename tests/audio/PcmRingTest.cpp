#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>

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

// One writer and one reader thread move numbered frames through a small ring
// in chunks of changing sizes, so both ends wrap at every position; the reader
// must see every frame once, in order, whole, whether it copies or mixes.
// The race detector build (scripts/test-sanitized.sh thread) runs this too.
TEST(PcmRingTest, WriterAndReaderThreadsPassEveryFrameInOrder)
{
    constexpr std::size_t kFrames = 50000;
    constexpr std::size_t kCapacity = 7;
    PcmRing ring(kCapacity);
    // Frame n carries n on the left and -n on the right; floats hold these exactly.
    auto frameValue = [](std::size_t n) { return static_cast<float>(n % (1u << 23)); };

    std::atomic<bool> writerDone{false};
    std::thread writer([&] {
        struct Done {
            std::atomic<bool>& flag;
            ~Done() { flag = true; }  // also when an assertion ends the writer early
        } done{writerDone};
        std::vector<float> chunk(2 * (kCapacity + 3));
        std::size_t next = 0;
        for (std::size_t step = 0; next < kFrames; ++step) {
            const std::size_t want = std::min<std::size_t>(1 + step % (kCapacity + 3), kFrames - next);
            for (std::size_t i = 0; i < want; ++i) {
                chunk[2 * i] = frameValue(next + i);
                chunk[2 * i + 1] = -frameValue(next + i);
            }
            const std::size_t written = ring.Write(chunk.data(), want);
            ASSERT_LE(written, want);
            ASSERT_LE(ring.WritableFrames(), kCapacity);
            next += written;
            if (written == 0)
                std::this_thread::yield();
        }
    });

    std::vector<float> chunk(2 * (kCapacity + 5));
    std::size_t expected = 0;
    double checksum = 0;
    for (std::size_t step = 0; expected < kFrames; ++step) {
        const std::size_t want = 1 + (step * 3) % (kCapacity + 5);
        const bool mix = step % 2 == 1;
        std::size_t got;
        if (mix) {
            std::fill(chunk.begin(), chunk.end(), 0.0f);
            got = ring.ReadAdd(chunk.data(), want, 1.0f);
        } else {
            got = ring.Read(chunk.data(), want);
        }
        ASSERT_LE(got, want);
        ASSERT_LE(ring.ReadableFrames(), kCapacity);
        for (std::size_t i = 0; i < got; ++i, ++expected) {
            ASSERT_EQ(chunk[2 * i], frameValue(expected)) << "frame " << expected;
            ASSERT_EQ(chunk[2 * i + 1], -frameValue(expected)) << "frame " << expected;
            checksum += chunk[2 * i];
        }
        if (got == 0 && writerDone && ring.ReadableFrames() == 0)
            break;
        if (got == 0)
            std::this_thread::yield();
    }
    writer.join();
    ASSERT_EQ(expected, kFrames);
    EXPECT_EQ(ring.ReadableFrames(), 0u);
    double sent = 0;
    for (std::size_t n = 0; n < kFrames; ++n)
        sent += frameValue(n);
    EXPECT_EQ(checksum, sent);
}

TEST(ResultTextTest, EveryCodeHasATextAndUnknownCodesSaySo)
{
    EXPECT_STREQ(ResultText(kOk), "No errors.");
    EXPECT_STREQ(ResultText(kErrFileNotFound), "File not found.");
    EXPECT_STREQ(ResultText(kErrMemory), "Not enough memory or resources.");
    EXPECT_STREQ(ResultText(kErrMemory + 1), "Unknown error.");
    EXPECT_STREQ(ResultText(-5), "Unknown error.");
}
