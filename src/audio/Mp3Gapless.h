#pragma once

namespace TagLib::MPEG {
class File;
}

namespace audio {

// The playable length of an MPEG layer III file whose first frame carries a
// frame count and an encoder delay/padding record: the frames' samples minus
// the encoder's delay and padding, which the decoder drops. -1 without such a record.
long long Mp3GaplessLengthMs(TagLib::MPEG::File& file);

}  // namespace audio
