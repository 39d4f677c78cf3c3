#pragma once

namespace audio {

// The one sample format between decoders, the ring and the output device:
// interleaved 32-bit float stereo.
inline constexpr int kSampleRate = 44100;
inline constexpr int kOutputChannels = 2;

inline constexpr long long FramesToMs(long long frames) { return frames * 1000 / kSampleRate; }
inline constexpr long long MsToFrames(long long ms) { return ms * kSampleRate / 1000; }

}  // namespace audio
