#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioSystem.h"
#include "audio/PcmFormat.h"

namespace audio {

inline std::string Fixture(const std::string& name) { return std::string(QP_FIXTURES) + "/" + name; }

// A system without a device: the test pulls the mixed output itself, as fast as decoding allows.
class OfflineSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(system.Init(32, kInitNoOutput, nullptr), kOk); }

    StreamHandle Open(const std::string& name)
    {
        StreamHandle stream;
        EXPECT_EQ(system.CreateStream(Fixture(name), 0, nullptr, &stream), kOk) << name;
        return stream;
    }

    ChannelHandle Play(StreamHandle stream)
    {
        ChannelHandle channel;
        EXPECT_EQ(system.PlaySound(-1, stream, false, &channel), kOk);
        return channel;
    }

    bool Playing(ChannelHandle channel)
    {
        bool playing = false;
        system.IsPlaying(channel, &playing);
        return playing;
    }

    unsigned Position(ChannelHandle channel)
    {
        unsigned ms = 0;
        system.GetPositionMs(channel, &ms);
        return ms;
    }

    // Pulls output until `frames` frames were delivered or the channel ended; returns what was delivered.
    std::vector<float> Render(ChannelHandle channel, std::size_t frames = SIZE_MAX)
    {
        return RenderWhile([&] { return Playing(channel); }, frames);
    }

    // Pulls output while `more` holds, up to `frames` frames; returns what was delivered.
    std::vector<float> RenderWhile(const std::function<bool()>& more, std::size_t frames = SIZE_MAX)
    {
        std::vector<float> audio;
        std::vector<float> block(256 * kOutputChannels);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (audio.size() / kOutputChannels < frames && more() &&
               std::chrono::steady_clock::now() < deadline) {
            const int want = static_cast<int>(std::min<std::size_t>(256, frames - audio.size() / kOutputChannels));
            int delivered = 0;
            EXPECT_EQ(system.RenderOutput(block.data(), want, &delivered), kOk);
            audio.insert(audio.end(), block.begin(), block.begin() + delivered * kOutputChannels);
            if (delivered == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return audio;
    }

    static float Peak(const std::vector<float>& audio)
    {
        float peak = 0.0f;
        for (float s : audio)
            peak = std::max(peak, std::fabs(s));
        return peak;
    }

    AudioSystem system;
};

}  // namespace audio
