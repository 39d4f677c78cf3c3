#pragma once

#include <cstdint>
#include <vector>

#include "audio/Result.h"

namespace audio {

// The timing of a Standard MIDI File: its division, tempo changes and the tick
// of its last event, enough to turn ticks into milliseconds and back.
class MidiTempoMap {
public:
    // Parses the file's header and every track; damaged or truncated data is an error.
    static Result Parse(const std::vector<uint8_t>& bytes, MidiTempoMap* map);

    double TickToMs(uint64_t tick) const;
    uint64_t MsToTick(double ms) const;
    uint64_t EndTick() const { return endTick_; }
    // Time of the last event of any track.
    double LengthMs() const { return TickToMs(endTick_); }

private:
    struct TempoChange {
        uint64_t tick;
        uint32_t microsecondsPerQuarter;
        double ms;  // time at which the change takes effect
    };

    Result ParseTrack(const uint8_t* data, std::size_t size);
    void Finish();
    double MsPerTick(uint32_t microsecondsPerQuarter) const;

    uint16_t ticksPerQuarter_ = 0;  // 0 with an SMPTE division
    double smpteMsPerTick_ = 0.0;
    std::vector<TempoChange> tempos_;
    uint64_t endTick_ = 0;
};

}  // namespace audio
