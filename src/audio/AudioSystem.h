#pragma once

#include <memory>
#include <string>

#include "audio/ChannelGroup.h"
#include "audio/EndSignal.h"
#include "audio/Handles.h"
#include "audio/Result.h"
#include "audio/Tag.h"

namespace audio {

// The largest gain a channel takes: +24 dB.
inline constexpr float kMaxGain = 15.85f;

// Version of this back-end, 0xMMMMmmpp.
inline constexpr unsigned kBackendVersion = 0x00040300;

// Flags of AudioSystem::Init.
enum InitFlags : unsigned {
    kInitNormal = 0,
    // Opens no device: the owner pulls mixed output with RenderOutput (tests, offline use).
    kInitNoOutput = 1,
};

// The audio back-end: streams opened from files, played on channels that a
// mixer feeds to one output device. Decoding runs on threads of its own; every
// other call is meant for one controlling thread.
class AudioSystem {
public:
    AudioSystem();
    virtual ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    virtual Result GetVersion(unsigned* version) const;

    Result Init(int maxChannels, unsigned flags, void* extraDriverData);
    // Stops every channel, releases every stream and the device. Init may follow again.
    Result Close();

    Result GetMasterChannelGroup(ChannelGroup** group);
    // Raised by the output each time a channel plays its last sample (see EndSignal).
    Result GetEndSignal(EndSignal** signal);

    // Opens a file as a stream: checks it, reads its tags and length. Mode 0 is the only mode.
    Result CreateStream(const std::string& path, unsigned mode, void* extraInfo, StreamHandle* stream);
    // Stops the stream's channels first.
    Result ReleaseStream(StreamHandle stream);
    Result GetLengthMs(StreamHandle stream, unsigned* lengthMs) const;
    // The index-th tag of that name (names compare without regard to case).
    Result GetTag(StreamHandle stream, const std::string& name, int index, Tag* tag) const;

    // channelIndex -1 picks a free channel.
    Result PlaySound(int channelIndex, StreamHandle stream, bool paused, ChannelHandle* channel);
    // Plays `stream` on the output right after the last sample of `after`, without a gap: it
    // is opened and decoded ahead on a channel of its own that stays silent until then. A
    // channel queued earlier behind `after` is stopped. Fails with kErrInvalidHandle once
    // `after` has ended. Stopping either channel undoes the queue.
    Result QueueSound(ChannelHandle after, StreamHandle stream, ChannelHandle* queued);
    // How often `channel` handed the output over to a channel queued behind it. The output
    // callback counts the hand-over before `channel` turns inactive, so a caller that finds
    // it not playing and compares this count knows whether its successor took over.
    Result GetHandOvers(ChannelHandle channel, unsigned* count) const;
    // Scales the channel's output by `gain` (0 to kMaxGain) on top of the master volume.
    Result SetGain(ChannelHandle channel, float gain);

    // Channel calls on a stale handle do nothing and return kErrInvalidHandle.
    Result IsPlaying(ChannelHandle channel, bool* playing) const;
    Result GetPaused(ChannelHandle channel, bool* paused) const;
    Result SetPaused(ChannelHandle channel, bool paused);
    Result GetPositionMs(ChannelHandle channel, unsigned* positionMs) const;
    Result SetPositionMs(ChannelHandle channel, unsigned positionMs);
    Result Stop(ChannelHandle channel);

    // With kInitNoOutput: mixes `frames` stereo frames of output into `out`, as the device callback would.
    // `delivered`, if given, receives the most frames any channel contributed.
    Result RenderOutput(float* out, int frames, int* delivered = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace audio
