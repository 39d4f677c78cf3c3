#include "audio/MpegFrame.h"

namespace audio {

namespace {

// Kilobits per second by bit rate index: MPEG-1 layers I, II, III, then MPEG-2 and 2.5 layer I, layers II and III.
constexpr int kBitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};
// Samples per second by rate index for MPEG-1; MPEG-2 halves them, MPEG-2.5 quarters them.
constexpr int kSampleRates[3] = {44100, 48000, 32000};

}  // namespace

MpegFrameHeader ReadMpegFrameHeader(const unsigned char* bytes)
{
    const uint32_t header = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    const int version = (header >> 19) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5, 1: none
    const int layer = 4 - static_cast<int>((header >> 17) & 3);
    const int rateIndex = (header >> 12) & 15;
    const int sampleIndex = (header >> 10) & 3;
    if ((header & 0xFFE00000u) != 0xFFE00000u || version == 1 || layer == 4 || rateIndex == 0 || rateIndex == 15 ||
        sampleIndex == 3)
        return {};
    const bool mpeg1 = version == 3;
    const int table = mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4);
    const int bitRate = kBitRates[table][rateIndex] * 1000;
    const int sampleRate = kSampleRates[sampleIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int padding = (header >> 9) & 1;
    MpegFrameHeader frame;
    frame.layer = layer;
    if (layer == 1)
        frame.bytes = (12 * bitRate / sampleRate + padding) * 4;
    else if (layer == 3 && !mpeg1)
        frame.bytes = 72 * bitRate / sampleRate + padding;
    else
        frame.bytes = 144 * bitRate / sampleRate + padding;
    return frame;
}

}  // namespace audio
