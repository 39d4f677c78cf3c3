// Loudness correction from the files' tags: which tags, how much, and when to ignore them.
#include <cmath>
#include <map>

#include "playback/AudioEngine.h"
#include "playback/PlaybackFixture.h"
#include "playback/ReplayGain.h"
#include "ui/GridCtrl.h"

namespace {

constexpr const char* kTagged = QP_FIXTURES "/gain-tagged.ogg";
constexpr const char* kR128 = QP_FIXTURES "/gain-r128.opus";
constexpr const char* kAbsurd = QP_FIXTURES "/gain-absurd.mp3";

float Db(double db) { return static_cast<float>(std::pow(10.0, db / 20.0)); }

float FactorOf(const std::map<std::string, Value>& tags, GainTags which)
{
    return ReplayGainFactor(
        [&](const char* name) {
            const auto found = tags.find(name);
            return found == tags.end() ? Value() : found->second;
        },
        which);
}

using ReplayGain = PlaybackTest;

}  // namespace

TEST_F(ReplayGain, TagsReadAtPlayTimeSetTheGainWithClipProtection)
{
    const struct {
        const char* file;
        GainTags which;
        float factor;
    } cases[] = {
        {kTagged, GainTags::Track, Db(-6.0)},
        // +3 dB would lift the album's peak of 0.9 above full scale: the peak limits it.
        {kTagged, GainTags::Album, 1.0f / 0.9f},
        {kTagged, GainTags::None, 1.0f},
        // R128 gains are 1/256 dB steps relative to -23 LUFS, 5 dB below the ReplayGain level.
        {kR128, GainTags::Track, Db(-10.0 + 5.0)},
        {kR128, GainTags::Album, Db(1.0 + 5.0)},
        // +60 dB, a text and a peak of "nan": nothing usable, the file plays as it is.
        {kAbsurd, GainTags::Track, 1.0f},
        {kAbsurd, GainTags::Album, 1.0f},
        {kToneWav, GainTags::Album, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(static_cast<int>(c.which)));
        ASSERT_TRUE(Engine().PlayFile(c.file, c.which));
        EXPECT_NEAR(Engine().CurrentGain(), c.factor, 1e-4);
        EXPECT_TRUE(Engine().IsPlaying());
    }
    EXPECT_TRUE(prompts.empty());
}

TEST(ReplayGainFactor, ValuesThatMakeNoSenseAreIgnoredAndTheOtherKindStandsIn)
{
    using Tags = std::map<std::string, Value>;
    EXPECT_NEAR(FactorOf({{"REPLAYGAIN_TRACK_GAIN", Value("  -3.5dB ")}}, GainTags::Track), Db(-3.5), 1e-6);
    EXPECT_NEAR(FactorOf({{"REPLAYGAIN_TRACK_GAIN", Value(WString(L"+2 DB"))}}, GainTags::Track), Db(2.0), 1e-6);
    for (const char* bad : {"nan dB", "inf", "-61 dB", "+24.5 dB", "", "12,5 dB", "dB", "1e3", "0x10"})
        EXPECT_EQ(FactorOf({{"REPLAYGAIN_TRACK_GAIN", Value(bad)}}, GainTags::Track), 1.0f) << bad;
    for (const char* bad : {"1.5", "abc", "99999", ""})
        EXPECT_EQ(FactorOf({{"R128_TRACK_GAIN", Value(bad)}}, GainTags::Track), 1.0f) << bad;

    // A peak that makes no sense gives no protection; a usable one does.
    const Tags loud = {{"REPLAYGAIN_TRACK_GAIN", Value("+6 dB")}, {"REPLAYGAIN_TRACK_PEAK", Value("0")}};
    EXPECT_NEAR(FactorOf(loud, GainTags::Track), Db(6.0), 1e-6);
    const Tags clipped = {{"REPLAYGAIN_TRACK_GAIN", Value("+6 dB")}, {"REPLAYGAIN_TRACK_PEAK", Value("0.8")}};
    EXPECT_NEAR(FactorOf(clipped, GainTags::Track), 1.25f, 1e-6);

    // The chosen kind missing, the other kind stands in; ReplayGain tags before R128 ones.
    const Tags albumOnly = {{"REPLAYGAIN_ALBUM_GAIN", Value("-4 dB")}};
    EXPECT_NEAR(FactorOf(albumOnly, GainTags::Track), Db(-4.0), 1e-6);
    const Tags trackOnly = {{"REPLAYGAIN_TRACK_GAIN", Value("-2 dB")}, {"R128_ALBUM_GAIN", Value("-512")}};
    EXPECT_NEAR(FactorOf(trackOnly, GainTags::Album), Db(-2.0 + 5.0), 1e-6);
    const Tags both = {{"REPLAYGAIN_TRACK_GAIN", Value("-2 dB")}, {"R128_TRACK_GAIN", Value("-512")}};
    EXPECT_NEAR(FactorOf(both, GainTags::Track), Db(-2.0), 1e-6);
}

TEST_F(ReplayGain, AutomaticTakesTheAlbumGainBesideATrackOfTheSameAlbum)
{
    GridCtrl& list = CurrentTrackList();
    const char* albums[] = {"Live", "Live", "Other", "", "", "Live"};
    for (int i = 0; i < 6; ++i)
        list.Add({Value(100 + i), Value(kTagged), Value("t"), Value(), Value(albums[i]), Value()});
    const GainTags expected[] = {GainTags::Album, GainTags::Album, GainTags::Track,
                                 GainTags::Track, GainTags::Track, GainTags::Track};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(GainTagsForRow(ReplayGainMode::Automatic, list, row), expected[row]) << row;
        EXPECT_EQ(GainTagsForRow(ReplayGainMode::Track, list, row), GainTags::Track);
        EXPECT_EQ(GainTagsForRow(ReplayGainMode::Album, list, row), GainTags::Album);
        EXPECT_EQ(GainTagsForRow(ReplayGainMode::Off, list, row), GainTags::None);
    }

    // Playback plays each row with its rule, and a new choice reaches the playing track at once.
    Playback().SetReplayGainMode(ReplayGainMode::Automatic);
    list.SetCursor(0);
    Playback().Play();
    EXPECT_NEAR(Engine().CurrentGain(), 1.0f / 0.9f, 1e-4);
    Playback().PlayNext();
    Playback().PlayNext();
    EXPECT_NEAR(Engine().CurrentGain(), Db(-6.0), 1e-4);
    Playback().SetReplayGainMode(ReplayGainMode::Off);
    EXPECT_EQ(Engine().CurrentGain(), 1.0f);
    Playback().SetReplayGainMode(ReplayGainMode::Album);
    EXPECT_NEAR(Engine().CurrentGain(), 1.0f / 0.9f, 1e-4);
}

TEST_F(ReplayGain, TheQueuedTrackBringsItsOwnGainToTheBoundary)
{
    GridCtrl& list = CurrentTrackList();
    list.Add({Value(100), Value(QP_FIXTURES "/gapless-a.wav"), Value("a"), Value(), Value(), Value()});
    list.Add({Value(101), Value(kR128), Value("b"), Value(), Value(), Value()});
    list.SetCursor(0);
    Playback().SetReplayGainMode(ReplayGainMode::Track);
    Playback().Play();
    EXPECT_EQ(Engine().CurrentGain(), 1.0f);
    ASSERT_TRUE(WaitFor([&] { return Playback().PlayingId() == 101; }));
    EXPECT_NEAR(Engine().CurrentGain(), Db(-5.0), 1e-4);
}
