#include "audio/Mp3Gapless.h"

#include <cstdint>
#include <cstring>

#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>

namespace audio {

namespace {

uint32_t BigEndian32(const char* p)
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(p[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(p[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(p[2])) << 8) | static_cast<uint8_t>(p[3]);
}

}  // namespace

long long Mp3GaplessLengthMs(TagLib::MPEG::File& file)
{
    const TagLib::MPEG::Properties* properties = file.audioProperties();
    if (!properties || properties->layer() != 3 || properties->sampleRate() <= 0)
        return -1;
    const long offset = file.firstFrameOffset();
    if (offset < 0)
        return -1;
    file.seek(offset);
    const TagLib::ByteVector block = file.readBlock(256);
    const char* data = block.data();
    const std::size_t size = block.size();

    // The frame-count record starts after the frame's side information, at an offset that
    // depends on version and channel mode; searching the first bytes finds it in every case.
    std::size_t at = 0;
    for (; at + 8 <= size && at < 64; ++at)
        if (!std::memcmp(data + at, "Xing", 4) || !std::memcmp(data + at, "Info", 4))
            break;
    if (at + 8 > size || at >= 64)
        return -1;
    const uint32_t flags = BigEndian32(data + at + 4);
    std::size_t pos = at + 8;
    if (!(flags & 1) || pos + 4 > size)
        return -1;
    const uint32_t frames = BigEndian32(data + pos);
    pos += 4;
    if (flags & 2)
        pos += 4;    // byte count
    if (flags & 4)
        pos += 100;  // seek table
    if (flags & 8)
        pos += 4;    // quality
    // Encoder record: 9 bytes of encoder name, 12 bytes of settings, then 12 bits delay and 12 bits padding.
    if (pos + 24 > size)
        return -1;
    const char* encoder = data + pos;
    if (std::memcmp(encoder, "LAME", 4) && std::memcmp(encoder, "Lavf", 4) && std::memcmp(encoder, "Lavc", 4))
        return -1;
    const uint8_t* gap = reinterpret_cast<const uint8_t*>(data + pos + 21);
    const long long delay = (gap[0] << 4) | (gap[1] >> 4);
    const long long padding = ((gap[1] & 0x0F) << 8) | gap[2];

    const long long samplesPerFrame = properties->version() == TagLib::MPEG::Header::Version1 ? 1152 : 576;
    const long long samples = static_cast<long long>(frames) * samplesPerFrame - delay - padding;
    if (frames == 0 || samples <= 0)
        return -1;
    return (samples * 1000 + properties->sampleRate() / 2) / properties->sampleRate();
}

}  // namespace audio
