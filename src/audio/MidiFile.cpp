#include "audio/MidiFile.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // 120 quarter notes a minute

uint32_t ReadBigEndian(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

// Reads a variable-length quantity (at most four bytes); false when it runs past the end.
bool ReadVarLen(const uint8_t* data, std::size_t size, std::size_t& pos, uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= size)
            return false;
        const uint8_t b = data[pos++];
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

}  // namespace

Result MidiTempoMap::Parse(const std::vector<uint8_t>& bytes, MidiTempoMap* map)
{
    if (!map)
        return kErrInvalidParam;
    const std::size_t size = bytes.size();
    const uint8_t* data = bytes.data();
    if (size < 14 || std::equal(data, data + 4, "MThd") == false)
        return kErrFormat;
    const uint32_t headerLength = ReadBigEndian(data + 4, 4);
    if (headerLength < 6 || headerLength > size - 8)
        return kErrFileDamaged;
    const uint16_t trackCount = static_cast<uint16_t>(ReadBigEndian(data + 10, 2));
    const uint16_t division = static_cast<uint16_t>(ReadBigEndian(data + 12, 2));

    MidiTempoMap parsed;
    if (division & 0x8000) {
        // SMPTE: frames per second (as a negative byte) times ticks per frame.
        const int fps = -static_cast<int8_t>(division >> 8);
        const int ticksPerFrame = division & 0xFF;
        if (fps <= 0 || ticksPerFrame == 0)
            return kErrFileDamaged;
        const double framesPerSecond = fps == 29 ? 29.97 : fps;
        parsed.smpteMsPerTick_ = 1000.0 / (framesPerSecond * ticksPerFrame);
    }
    else {
        if (division == 0)
            return kErrFileDamaged;
        parsed.ticksPerQuarter_ = division;
    }

    std::size_t pos = 8 + headerLength;
    for (uint16_t t = 0; t < trackCount; ++t) {
        // Chunks of other types are skipped, as the format requires.
        while (true) {
            if (size - pos < 8)
                return kErrFileDamaged;
            const uint32_t length = ReadBigEndian(data + pos + 4, 4);
            if (length > size - pos - 8)
                return kErrFileDamaged;
            const bool isTrack = std::equal(data + pos, data + pos + 4, "MTrk");
            pos += 8;
            if (isTrack) {
                if (const Result r = parsed.ParseTrack(data + pos, length); r != kOk)
                    return r;
                pos += length;
                break;
            }
            pos += length;
        }
    }
    parsed.Finish();
    *map = std::move(parsed);
    return kOk;
}

Result MidiTempoMap::ParseTrack(const uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    uint64_t tick = 0;
    uint8_t runningStatus = 0;
    while (pos < size) {
        uint32_t delta;
        if (!ReadVarLen(data, size, pos, delta) || pos >= size)
            return kErrFileDamaged;
        tick += delta;
        uint8_t status = data[pos];
        if (status & 0x80)
            ++pos;
        else if (runningStatus)
            status = runningStatus;
        else
            return kErrFileDamaged;

        if (status == 0xFF) {
            if (pos >= size)
                return kErrFileDamaged;
            const uint8_t type = data[pos++];
            uint32_t length;
            if (!ReadVarLen(data, size, pos, length) || length > size - pos)
                return kErrFileDamaged;
            if (type == 0x51 && length == 3)
                tempos_.push_back({tick, ReadBigEndian(data + pos, 3), 0.0});
            pos += length;
            endTick_ = std::max(endTick_, tick);
            if (type == 0x2F)
                return kOk;  // end of track
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            uint32_t length;
            if (!ReadVarLen(data, size, pos, length) || length > size - pos)
                return kErrFileDamaged;
            pos += length;
            endTick_ = std::max(endTick_, tick);
            continue;
        }
        if (status >= 0xF0)
            return kErrFileDamaged;  // system messages other than the two above do not occur in files
        runningStatus = status;
        const std::size_t dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;  // program change, channel pressure: 1
        if (dataBytes > size - pos)
            return kErrFileDamaged;
        pos += dataBytes;
        endTick_ = std::max(endTick_, tick);
    }
    return kOk;  // a track without an end-of-track event ends with its data
}

double MidiTempoMap::MsPerTick(uint32_t microsecondsPerQuarter) const
{
    if (ticksPerQuarter_ == 0)
        return smpteMsPerTick_;
    return microsecondsPerQuarter / 1000.0 / ticksPerQuarter_;
}

void MidiTempoMap::Finish()
{
    std::stable_sort(tempos_.begin(), tempos_.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    if (tempos_.empty() || tempos_.front().tick != 0)
        tempos_.insert(tempos_.begin(), {0, kDefaultTempo, 0.0});
    for (std::size_t i = 1; i < tempos_.size(); ++i) {
        const TempoChange& previous = tempos_[i - 1];
        tempos_[i].ms = previous.ms + (tempos_[i].tick - previous.tick) * MsPerTick(previous.microsecondsPerQuarter);
    }
}

double MidiTempoMap::TickToMs(uint64_t tick) const
{
    if (tempos_.empty())
        return 0.0;
    auto after = std::upper_bound(tempos_.begin(), tempos_.end(), tick,
                                  [](uint64_t t, const TempoChange& c) { return t < c.tick; });
    const TempoChange& change = *std::prev(after);
    return change.ms + (tick - change.tick) * MsPerTick(change.microsecondsPerQuarter);
}

uint64_t MidiTempoMap::MsToTick(double ms) const
{
    if (tempos_.empty() || ms <= 0.0)
        return 0;
    auto after = std::upper_bound(tempos_.begin(), tempos_.end(), ms,
                                  [](double m, const TempoChange& c) { return m < c.ms; });
    const TempoChange& change = *std::prev(after);
    const double perTick = MsPerTick(change.microsecondsPerQuarter);
    if (perTick <= 0.0)
        return change.tick;
    return change.tick + static_cast<uint64_t>(std::floor((ms - change.ms) / perTick + 1e-9));
}

}  // namespace audio
