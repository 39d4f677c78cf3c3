// The MP3 encoder-delay reader: any file, read through the tag library the
// way the player reads it, gives -1 or a non-negative length and never reads
// outside the block it examines.
#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>

#include "FuzzCheck.h"
#include "audio/Mp3Gapless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TagLib::ByteVector bytes(reinterpret_cast<const char*>(data), static_cast<unsigned>(size));
    TagLib::ByteVectorStream stream(bytes);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true);
    if (!file.isValid())
        return 0;
    const long long length = audio::Mp3GaplessLengthMs(file);
    FUZZ_CHECK(length >= -1);
    return 0;
}
