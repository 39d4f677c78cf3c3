#pragma once

#include <cstdint>

namespace audio {

// What the four header bytes of an MPEG audio frame say.
struct MpegFrameHeader {
    int layer = 0;  // 1, 2 or 3
    int bytes = 0;  // the whole frame, header included
};

// The header at `bytes`, or layer 0 when they are no frame header (or name a
// free bit rate, whose frame length only the next header tells).
MpegFrameHeader ReadMpegFrameHeader(const unsigned char* bytes);

}  // namespace audio
