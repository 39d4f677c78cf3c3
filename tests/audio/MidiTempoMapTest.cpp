#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "audio/MidiFile.h"

using namespace audio;

namespace {

std::vector<uint8_t> Header(uint16_t format, uint16_t tracks, uint16_t division)
{
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<uint8_t>(format), 0, static_cast<uint8_t>(tracks),
            static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division & 0xFF)};
}

void AppendTrack(std::vector<uint8_t>& file, const std::vector<uint8_t>& events)
{
    const uint32_t n = static_cast<uint32_t>(events.size());
    file.insert(file.end(), {'M', 'T', 'r', 'k', static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                             static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    file.insert(file.end(), events.begin(), events.end());
}

}  // namespace

TEST(MidiTempoMapTest, FixtureWithTempoChangeLastsOneAndAHalfSeconds)
{
    std::ifstream in(QP_FIXTURES "/tempo.mid", std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    MidiTempoMap map;
    ASSERT_EQ(MidiTempoMap::Parse(bytes, &map), kOk);
    EXPECT_EQ(map.EndTick(), 1920u);
    EXPECT_DOUBLE_EQ(map.TickToMs(960), 1000.0);   // two quarters at 120 bpm
    EXPECT_DOUBLE_EQ(map.TickToMs(1440), 1250.0);  // then a quarter at 240 bpm
    EXPECT_DOUBLE_EQ(map.LengthMs(), 1500.0);
    EXPECT_EQ(map.MsToTick(1250.0), 1440u);
    EXPECT_EQ(map.MsToTick(500.0), 480u);
}

TEST(MidiTempoMapTest, SmpteDivisionRunningStatusAndSysex)
{
    // 25 frames a second, 40 ticks a frame: one tick is one millisecond; tempo events do not matter.
    std::vector<uint8_t> file = Header(0, 1, 0xE728);
    AppendTrack(file, {0x00, 0x90, 60, 100,              // note on
                       0x83, 0x60, 62, 100,              // 480 ticks later, running status
                       0x00, 0xF0, 0x02, 0x7E, 0xF7,     // a system-exclusive message
                       0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,
                       0x87, 0x68, 0xFF, 0x2F, 0x00});   // end of track 1000 ticks after that
    MidiTempoMap map;
    ASSERT_EQ(MidiTempoMap::Parse(file, &map), kOk);
    EXPECT_EQ(map.EndTick(), 1480u);
    EXPECT_DOUBLE_EQ(map.LengthMs(), 1480.0);
}

TEST(MidiTempoMapTest, LongestTrackSetsTheEndAndUnknownChunksAreSkipped)
{
    std::vector<uint8_t> file = Header(1, 2, 96);
    file.insert(file.end(), {'X', 'y', 'z', 'w', 0, 0, 0, 2, 1, 2});
    AppendTrack(file, {0x60, 0xC0, 5, 0x00, 0xFF, 0x2F, 0x00});
    AppendTrack(file, {0x81, 0x40, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00});
    MidiTempoMap map;
    ASSERT_EQ(MidiTempoMap::Parse(file, &map), kOk);
    EXPECT_EQ(map.EndTick(), 192u);
    EXPECT_DOUBLE_EQ(map.LengthMs(), 1000.0);  // two quarters at the default 120 bpm
}

TEST(MidiTempoMapTest, DamagedFilesAreErrors)
{
    MidiTempoMap map;
    EXPECT_EQ(MidiTempoMap::Parse({}, &map), kErrFormat);
    EXPECT_EQ(MidiTempoMap::Parse({'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, &map), kErrFormat);

    std::vector<uint8_t> missingTrack = Header(0, 1, 96);
    EXPECT_EQ(MidiTempoMap::Parse(missingTrack, &map), kErrFileDamaged);

    std::vector<uint8_t> overlong = Header(0, 1, 96);
    AppendTrack(overlong, {0x00, 0x90, 60});
    overlong[21] = 200;  // track length beyond the file
    EXPECT_EQ(MidiTempoMap::Parse(overlong, &map), kErrFileDamaged);

    std::vector<uint8_t> cutEvent = Header(0, 1, 96);
    AppendTrack(cutEvent, {0x00, 0x90, 60});
    EXPECT_EQ(MidiTempoMap::Parse(cutEvent, &map), kErrFileDamaged);

    std::vector<uint8_t> noStatus = Header(0, 1, 96);
    AppendTrack(noStatus, {0x00, 0x40, 0x40});
    EXPECT_EQ(MidiTempoMap::Parse(noStatus, &map), kErrFileDamaged);

    std::vector<uint8_t> zeroDivision = Header(0, 0, 0);
    EXPECT_EQ(MidiTempoMap::Parse(zeroDivision, &map), kErrFileDamaged);
}
