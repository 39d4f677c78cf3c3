#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <thread>

#include "playback/AudioEngine.h"
#include "support/TempDir.h"
#include "ui/Prompt.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(QP_FIXTURES) + "/" + name; }

// Answers every message box and remembers its text.
class PromptLog {
public:
    PromptLog()
    {
        previous_ = SetPromptHandler([this](const PromptRequest& r) { texts.push_back(r.text); });
    }
    ~PromptLog() { SetPromptHandler(std::move(previous_)); }

    std::vector<std::string> texts;

private:
    PromptHandler previous_;
};

// A back-end that reports a chosen version.
class VersionedSystem : public audio::AudioSystem {
public:
    explicit VersionedSystem(unsigned version) : version_(version) {}
    audio::Result GetVersion(unsigned* version) const override
    {
        *version = version_;
        return audio::kOk;
    }

private:
    unsigned version_;
};

AudioEngine::SystemFactory ReportingVersion(unsigned version)
{
    return [version](std::unique_ptr<audio::AudioSystem>& system) {
        system = std::make_unique<VersionedSystem>(version);
        return audio::kOk;
    };
}

template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 5000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class AudioEngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(engine.Init(), 0); }

    PromptLog prompts;
    AudioEngine engine;
};

// The threads of this process, as the kernel lists them.
size_t ThreadCount()
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                             std::filesystem::directory_iterator()));
}

}  // namespace

TEST(AudioEngineInitTest, VersionCheckAcceptsTheMinimumAndRejectsOlder)
{
    {
        PromptLog prompts;
        AudioEngine engine(ReportingVersion(AudioEngine::kRequiredVersion));
        EXPECT_EQ(engine.Init(), 0);
        EXPECT_TRUE(prompts.texts.empty());
        engine.Close();
    }
    {
        PromptLog prompts;
        AudioEngine engine(ReportingVersion(0x00040204));
        EXPECT_EQ(engine.Init(), -1);
        ASSERT_EQ(prompts.texts.size(), 1u);
        EXPECT_EQ(prompts.texts[0], "The audio engine is too old (version 00040204)&This program requires version 00040205");
    }
    EXPECT_GE(audio::kBackendVersion, AudioEngine::kRequiredVersion);
}

TEST(AudioEngineInitTest, FailedCreationIsReportedWithTheErrorText)
{
    PromptLog prompts;
    AudioEngine engine([](std::unique_ptr<audio::AudioSystem>&) { return audio::kErrMemory; });
    EXPECT_EQ(engine.Init(), -1);
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], "Audio error: Not enough memory or resources. (15)");
    EXPECT_STREQ(AudioEngine::ErrorText(68), "Unknown error.");
    EXPECT_STREQ(AudioEngine::ErrorText(0), "No errors.");
}

TEST_F(AudioEngineTest, BeforeAnyTrackEverythingIsIdle)
{
    EXPECT_FALSE(engine.TogglePause());
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(engine.IsPaused());
    EXPECT_EQ(engine.GetPositionMs(), 0u);
    EXPECT_EQ(engine.GetPositionPercent(), 0.0);
    engine.SetPositionPercent(50.0f);
    EXPECT_TRUE(engine.FreeCurrent());
    EXPECT_EQ(engine.GetLengthMs({}), 0u);
    EXPECT_TRUE(engine.GetTag({}, "TITLE").IsVoid());
    engine.ReleaseStream({});
    EXPECT_FLOAT_EQ(engine.GetVolume(), 100.0f);
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(AudioEngineTest, TagsAndLengthOfAStream)
{
    const AudioEngine::SoundHandle sound = engine.OpenStream(Fixture("tone.mp3"));
    ASSERT_TRUE(sound);
    EXPECT_EQ(engine.GetTag(sound, "TITLE"), Value(WString(L"Tone \u00C4" L"440")));
    EXPECT_EQ(engine.GetTag(sound, "ARTIST"), Value(WString(L"Quillon Tests")));
    EXPECT_EQ(engine.GetTag(sound, "ALBUM"), Value(WString(L"Fixtures")));
    EXPECT_EQ(engine.GetTag(sound, "TRACKNUMBER"), Value(3));
    EXPECT_TRUE(engine.GetTag(sound, "COMPOSER").IsVoid());
    EXPECT_EQ(engine.LastResult(), audio::kErrTagNotFound);
    EXPECT_NEAR(engine.GetLengthMs(sound), 1000, 5);
    engine.ReleaseStream(sound);
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(AudioEngineTest, PlayPauseResumeAndEnd)
{
    ASSERT_TRUE(engine.PlayFile(Fixture("tone.ogg")));
    EXPECT_TRUE(engine.IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return engine.GetPositionMs() > 100; }));

    EXPECT_FALSE(engine.TogglePause());
    EXPECT_TRUE(engine.IsPaused());
    EXPECT_TRUE(engine.IsPlaying());
    const unsigned held = engine.GetPositionMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(engine.GetPositionMs(), held);

    EXPECT_TRUE(engine.TogglePause());
    EXPECT_FALSE(engine.IsPaused());
    ASSERT_TRUE(WaitFor([&] { return !engine.IsPlaying(); }));
    EXPECT_NEAR(engine.GetPositionPercent(), 100.0, 5.0);
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(AudioEngineTest, SeekToTheMiddle)
{
    ASSERT_TRUE(engine.PlayFile(Fixture("long.ogg")));
    engine.SetPositionPercent(50.0f);
    // 4000 x 50 x 0.01f is 2000 ms: 0.01f lies just under a hundredth, but single
    // precision rounds the product back up to 2000, so the truncation loses nothing.
    EXPECT_GE(engine.GetPositionMs(), 2000u);
    EXPECT_LT(engine.GetPositionMs(), 2300u);
    ASSERT_TRUE(WaitFor([&] { return engine.GetPositionMs() >= 2100; }));
    EXPECT_NEAR(engine.GetPositionPercent(), 52.5, 3.0);
    EXPECT_TRUE(engine.IsPlaying());
    // Out-of-range requests stay within the track.
    engine.SetPositionPercent(-20.0f);
    EXPECT_LT(engine.GetPositionMs(), 300u);
    engine.FreeCurrent();
    engine.SetPositionPercent(10.0f);  // the channel is gone: nothing happens
    EXPECT_FALSE(engine.IsPlaying());
}

TEST_F(AudioEngineTest, VolumeReadsBackAndZeroMutes)
{
    engine.SetVolume(37.5f);
    EXPECT_FLOAT_EQ(engine.GetVolume(), 37.5f);
    engine.SetVolume(0.0f);
    EXPECT_EQ(engine.GetVolume(), 0.0f);
    engine.SetVolume(100.0f);
    EXPECT_FLOAT_EQ(engine.GetVolume(), 100.0f);
}

TEST_F(AudioEngineTest, DamagedFilesAreReportedOnceAndTheNextFilePlays)
{
    ASSERT_TRUE(engine.PlayFile(Fixture("tone.ogg")));
    for (const char* name : {"empty.mp3", "truncated.mp3", "random.mp3", "text.ogg"}) {
        SCOPED_TRACE(name);
        prompts.texts.clear();
        EXPECT_FALSE(engine.PlayFile(Fixture(name)));
        ASSERT_EQ(prompts.texts.size(), 1u);
        EXPECT_EQ(prompts.texts[0], "Cannot play \"" + std::string(name) + "\": unsupported file or audio format. (3)");
        EXPECT_FALSE(engine.IsPlaying());  // the previous sound was released first
        EXPECT_FALSE(engine.OpenStream(Fixture(name)));
    }
    prompts.texts.clear();
    EXPECT_FALSE(engine.PlayFile(Fixture("no-such-file.mp3")));
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], "Cannot play \"no-such-file.mp3\": file not found. (1)");

    prompts.texts.clear();
    ASSERT_TRUE(engine.PlayFile(Fixture("tone.wav")));
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(AudioEngineTest, ASoundWithoutLengthHasZeroPercent)
{
    TempDir dir;
    const std::string path = dir.File("silence.wav");
    {
        // A canonical header announcing no samples.
        std::ofstream out(path, std::ios::binary);
        const unsigned char header[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                          16, 0, 0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0,
                                          2, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
        out.write(reinterpret_cast<const char*>(header), sizeof header);
    }
    ASSERT_TRUE(engine.PlayFile(path));
    EXPECT_EQ(engine.GetPositionPercent(), 0.0);
    ASSERT_TRUE(WaitFor([&] { return !engine.IsPlaying(); }));
    EXPECT_EQ(engine.GetPositionPercent(), 0.0);
    EXPECT_TRUE(prompts.texts.empty());
}

TEST(AudioEngineCloseTest, CloseWhilePlayingStopsTheSoundAndEndsEveryThread)
{
    PromptLog prompts;
    const size_t threadsBefore = ThreadCount();
    {
        AudioEngine engine;
        ASSERT_EQ(engine.Init(), 0);
        ASSERT_TRUE(engine.PlayFile(Fixture("long.ogg")));
        ASSERT_TRUE(WaitFor([&] { return engine.GetPositionMs() > 0; }));
        EXPECT_GT(ThreadCount(), threadsBefore);  // the decoder and the output device run

        engine.Close();
        EXPECT_FALSE(engine.IsPlaying());
        EXPECT_EQ(engine.GetPositionMs(), 0u);
        engine.SetPositionPercent(50.0f);  // no system left: nothing happens
        EXPECT_EQ(engine.GetPositionMs(), 0u);
        // Nothing is left that could go on playing or touch the released sound.
        EXPECT_EQ(ThreadCount(), threadsBefore);
    }
    EXPECT_TRUE(prompts.texts.empty());
}

// A seek lands on length x percent x 0.01 computed in single precision, as the
// position bar's fill is; in double precision each of these lands 1 ms earlier.
TEST_F(AudioEngineTest, SeekComputesItsPositionInSinglePrecision)
{
    struct Case {
        const char* file;  // 1000 ms and 4000 ms long
        float percent;
        unsigned expectedMs;
    };
    for (const Case& c : {Case{"tone.wav", 1.0f, 10}, Case{"tone.wav", 0.7f, 7}, Case{"tone.wav", 50.0f, 500},
                          Case{"tone.wav", 99.9f, 999}, Case{"long.ogg", 0.35f, 14}, Case{"long.ogg", 33.3f, 1332},
                          Case{"long.ogg", 14.5f, 580}, Case{"long.ogg", 87.65f, 3506}}) {
        ASSERT_TRUE(engine.PlayFile(Fixture(c.file)));
        engine.TogglePause();  // paused, the position stays where the seek put it
        engine.SetPositionPercent(c.percent);
        EXPECT_EQ(engine.GetPositionMs(), c.expectedMs) << c.file << " at " << c.percent << "%";
    }
}

TEST_F(AudioEngineTest, OpenPausedWaitsAtThePositionUntilResumed)
{
    ASSERT_TRUE(engine.PlayFile(Fixture("tone.ogg")));
    ASSERT_TRUE(engine.OpenPaused(Fixture("long.ogg"), 2500));
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_TRUE(engine.IsPaused());
    EXPECT_EQ(engine.GetPositionMs(), 2500u);
    EXPECT_DOUBLE_EQ(engine.GetPositionPercent(), 62.5);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(engine.GetPositionMs(), 2500u);

    EXPECT_TRUE(engine.TogglePause());
    ASSERT_TRUE(WaitFor([&] { return engine.GetPositionMs() > 2550; }));
    EXPECT_LT(engine.GetPositionMs(), 3500u);

    // At or past the end the track waits at its start.
    for (unsigned beyond : {4000u, 4001u, 4'000'000'000u}) {
        ASSERT_TRUE(engine.OpenPaused(Fixture("long.ogg"), beyond));
        EXPECT_EQ(engine.GetPositionMs(), 0u) << beyond;
        EXPECT_TRUE(engine.IsPaused());
    }
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(AudioEngineTest, OpenPausedFailsWithoutAWordAndReleasesThePreviousSound)
{
    for (const char* name : {"no-such-file.mp3", "empty.mp3", "random.mp3", "text.ogg"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(engine.PlayFile(Fixture("tone.ogg")));
        EXPECT_FALSE(engine.OpenPaused(Fixture(name), 100));
        EXPECT_FALSE(engine.IsPlaying());
        EXPECT_FALSE(engine.IsPaused());
    }
    EXPECT_TRUE(prompts.texts.empty());
}
