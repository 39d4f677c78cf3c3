// The MIDI tempo map: no file crashes the parser or makes its times
// undefined; an accepted file has a finite, non-negative length that maps
// back to a tick no later than its last event.
#include <cmath>
#include <vector>

#include "FuzzCheck.h"
#include "audio/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    audio::MidiTempoMap map;
    if (audio::MidiTempoMap::Parse(bytes, &map) != audio::kOk)
        return 0;
    const double length = map.LengthMs();
    FUZZ_CHECK(std::isfinite(length) && length >= 0.0);
    FUZZ_CHECK(map.TickToMs(map.EndTick() / 2) <= length);
    FUZZ_CHECK(map.MsToTick(length) <= map.EndTick() + 1);
    FUZZ_CHECK(map.MsToTick(length / 2) <= map.EndTick() + 1);
    FUZZ_CHECK(map.MsToTick(-1.0) == 0);
    return 0;
}
