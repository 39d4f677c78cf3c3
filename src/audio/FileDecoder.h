#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/SampleSource.h"

struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVPacket;
struct AVFrame;

namespace audio {

// Decodes a media file's first audio stream (MP3, MP2, Vorbis, WMA, PCM, ...)
// and converts it to the output format.
class FileDecoder : public SampleSource {
public:
    static Result Open(const std::string& path, std::unique_ptr<FileDecoder>* decoder);
    ~FileDecoder() override;

    Result Read(float* frames, std::size_t capacity, std::size_t* produced) override;
    Result SeekMs(unsigned positionMs) override;

    // The container's stated duration; -1 when it states none.
    long long ContainerDurationMs() const;
    // The short name of the container format ("flac", "aac", "mov,mp4,m4a,3gp,3g2,mj2", ...).
    std::string ContainerName() const;
    // The container's and the audio stream's named tags as (name, value) pairs, in the
    // container's own lower-case names ("title", "artist", "track", ...).
    std::vector<std::pair<std::string, std::string>> Metadata() const;

private:
    FileDecoder() = default;
    Result OpenFile(const std::string& path);
    Result ResetResampler();
    // Decodes until at least one more block of converted frames is pending or the audio ends.
    Result DecodeMore();
    Result ConvertFrame(const AVFrame* input);
    Result SeekByDecoding(unsigned positionMs);

    struct Deleters {
        void operator()(AVFormatContext* p) const;
        void operator()(AVCodecContext* p) const;
        void operator()(SwrContext* p) const;
        void operator()(AVPacket* p) const;
        void operator()(AVFrame* p) const;
    };

    std::unique_ptr<AVFormatContext, Deleters> format_;
    std::unique_ptr<AVCodecContext, Deleters> codec_;
    std::unique_ptr<SwrContext, Deleters> resampler_;
    std::unique_ptr<AVPacket, Deleters> packet_;
    std::unique_ptr<AVFrame, Deleters> frame_;
    int streamIndex_ = -1;

    std::vector<float> pending_;  // converted frames not yet read
    // During a Read: where a decoded block may be converted directly, and what landed there.
    float* direct_ = nullptr;
    std::size_t directCapacity_ = 0;
    std::size_t directFrames_ = 0;
    std::size_t pendingFrames_ = 0;
    std::size_t pendingStart_ = 0;
    bool demuxDone_ = false;   // the decoder has been told the input ended
    bool finished_ = false;    // decoder and resampler are drained
    // After a seek: where the caller wants to start, checked against the first frame's time.
    long long seekTargetMs_ = -1;
    long long discardFrames_ = 0;
    // Output frames read so far, counted from the start of the audio.
    long long positionFrames_ = 0;
    // Where the audio ends when the container says so exactly (an MP4 edit list trims
    // the encoder's padding that the decoder would play, an Ogg Vorbis stream's last page
    // says where its padding starts); -1 to play what decodes.
    long long endFrames_ = -1;
};

}  // namespace audio
