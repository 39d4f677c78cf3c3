#include "audio/AdtsLength.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace audio {

namespace {

constexpr int kSampleRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050,
                                16000, 12000, 11025, 8000,  7350};
constexpr std::size_t kHeaderBytes = 7;

// Size of an ID3v2 tag at the start of the file, 0 without one.
std::size_t Id3v2Size(const uint8_t* p, std::size_t size)
{
    if (size < 10 || p[0] != 'I' || p[1] != 'D' || p[2] != '3')
        return 0;
    const std::size_t body = (std::size_t(p[6] & 0x7F) << 21) | (std::size_t(p[7] & 0x7F) << 14) |
                             (std::size_t(p[8] & 0x7F) << 7) | std::size_t(p[9] & 0x7F);
    const bool footer = (p[5] & 0x10) != 0;
    return 10 + body + (footer ? 10 : 0);
}

}  // namespace

long long AdtsLengthMs(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return -1;
    // Headers are read where the previous frame says the next one starts.
    std::vector<uint8_t> head(10);
    file.read(reinterpret_cast<char*>(head.data()), 10);
    std::streamoff offset = static_cast<std::streamoff>(Id3v2Size(head.data(), static_cast<std::size_t>(file.gcount())));

    long long samples = 0;
    int rate = 0;
    uint8_t header[kHeaderBytes];
    for (;;) {
        file.clear();
        file.seekg(offset);
        file.read(reinterpret_cast<char*>(header), kHeaderBytes);
        if (file.gcount() < static_cast<std::streamsize>(kHeaderBytes))
            break;
        if (header[0] != 0xFF || (header[1] & 0xF6) != 0xF0)
            break;  // no sync: the audio ends here (a trailing tag, or damage)
        const int rateIndex = (header[2] >> 2) & 0x0F;
        const std::size_t length =
            (std::size_t(header[3] & 0x03) << 11) | (std::size_t(header[4]) << 3) | (header[5] >> 5);
        if (rateIndex >= static_cast<int>(std::size(kSampleRates)) || length < kHeaderBytes)
            break;
        if (rate == 0)
            rate = kSampleRates[rateIndex];
        samples += 1024LL * ((header[6] & 0x03) + 1);
        offset += static_cast<std::streamoff>(length);
    }
    if (rate == 0 || samples == 0)
        return -1;
    return (samples * 1000 + rate / 2) / rate;
}

}  // namespace audio
