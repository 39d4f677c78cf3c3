#include "audio/FileDecoder.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include "audio/PcmFormat.h"

namespace audio {

void FileDecoder::Deleters::operator()(AVFormatContext* p) const { avformat_close_input(&p); }
void FileDecoder::Deleters::operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
void FileDecoder::Deleters::operator()(SwrContext* p) const { swr_free(&p); }
void FileDecoder::Deleters::operator()(AVPacket* p) const { av_packet_free(&p); }
void FileDecoder::Deleters::operator()(AVFrame* p) const { av_frame_free(&p); }

Result FileDecoder::Open(const std::string& path, std::unique_ptr<FileDecoder>* decoder)
{
    if (!decoder)
        return kErrInvalidParam;
    std::unique_ptr<FileDecoder> opened(new FileDecoder());
    if (const Result r = opened->OpenFile(path); r != kOk)
        return r;
    *decoder = std::move(opened);
    return kOk;
}

FileDecoder::~FileDecoder() = default;

Result FileDecoder::OpenFile(const std::string& path)
{
    AVFormatContext* format = nullptr;
    const int opened = avformat_open_input(&format, path.c_str(), nullptr, nullptr);
    if (opened < 0) {
        if (opened == AVERROR(ENOENT))
            return kErrFileNotFound;
        if (opened == AVERROR(EACCES) || opened == AVERROR(EISDIR))
            return kErrFileUnreadable;
        return kErrFormat;
    }
    format_.reset(format);
    if (avformat_find_stream_info(format_.get(), nullptr) < 0)
        return kErrFileDamaged;

    const AVCodec* codec = nullptr;
    streamIndex_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (streamIndex_ < 0 || !codec)
        return kErrFormat;
    // Only the chosen stream is read.
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        if (static_cast<int>(i) != streamIndex_)
            format_->streams[i]->discard = AVDISCARD_ALL;

    codec_.reset(avcodec_alloc_context3(codec));
    if (!codec_)
        return kErrMemory;
    if (avcodec_parameters_to_context(codec_.get(), format_->streams[streamIndex_]->codecpar) < 0)
        return kErrFormat;
    codec_->thread_count = 1;
    const AVStream* stream = format_->streams[streamIndex_];
    // Ogg Vorbis: the decoder cuts the last packet's padding as if the first packet, which
    // yields no samples, had yielded its share, so each track would end that many samples
    // early. The last page's position states the exact end; the cut is made here instead.
    const bool vorbisEnd = codec->id == AV_CODEC_ID_VORBIS && stream->duration > 0;
    if (vorbisEnd)
        codec_->flags2 |= AV_CODEC_FLAG2_SKIP_MANUAL;
    if (avcodec_open2(codec_.get(), codec, nullptr) < 0)
        return kErrFileDamaged;
    if (codec_->sample_rate <= 0)
        return kErrFileDamaged;

    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_)
        return kErrMemory;
    if ((vorbisEnd || std::string(format_->iformat->name).find("mp4") != std::string::npos) && stream->duration > 0)
        endFrames_ = av_rescale_q(stream->duration, stream->time_base, AVRational{1, kSampleRate});
    return ResetResampler();
}

Result FileDecoder::ResetResampler()
{
    AVChannelLayout input{};
    if (codec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || codec_->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&input, std::max(1, codec_->ch_layout.nb_channels));
    else if (av_channel_layout_copy(&input, &codec_->ch_layout) < 0)
        return kErrMemory;
    AVChannelLayout output = AV_CHANNEL_LAYOUT_STEREO;

    SwrContext* swr = nullptr;
    const int set = swr_alloc_set_opts2(&swr, &output, AV_SAMPLE_FMT_FLT, kSampleRate, &input, codec_->sample_fmt,
                                        codec_->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&input);
    resampler_.reset(swr);
    if (set < 0 || !swr)
        return kErrMemory;
    if (swr_init(swr) < 0)
        return kErrFormat;
    return kOk;
}

long long FileDecoder::ContainerDurationMs() const
{
    if (!format_ || format_->duration == AV_NOPTS_VALUE || format_->duration < 0)
        return -1;
    return av_rescale(format_->duration, 1000, AV_TIME_BASE);
}

std::string FileDecoder::ContainerName() const
{
    return format_ ? format_->iformat->name : "";
}

std::vector<std::pair<std::string, std::string>> FileDecoder::Metadata() const
{
    std::vector<std::pair<std::string, std::string>> tags;
    if (!format_)
        return tags;
    // Ogg keeps its comments with the stream, most other containers with the file.
    for (const AVDictionary* dictionary : {static_cast<const AVDictionary*>(format_->metadata),
                                           static_cast<const AVDictionary*>(format_->streams[streamIndex_]->metadata)}) {
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(dictionary, "", entry, AV_DICT_IGNORE_SUFFIX)))
            tags.emplace_back(entry->key, entry->value);
    }
    return tags;
}

namespace {

// Stereo float at the output rate, planar or interleaved: the resampler would only interleave it.
bool IsPlainStereo(const AVFrame* frame)
{
    static const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    return frame && frame->sample_rate == kSampleRate &&
           (frame->format == AV_SAMPLE_FMT_FLTP || frame->format == AV_SAMPLE_FMT_FLT) &&
           frame->ch_layout.nb_channels == 2 &&
           (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_compare(&frame->ch_layout, &stereo) == 0);
}

// Planar stereo into interleaved frames. `bypassCache`: the frames go to memory
// without first reading `out` into this core's cache. The ring was last read by
// the output thread on another core and is read there again; fetching each of
// its lines here first cost several times the copy itself.
void InterleaveStereo(const AVFrame* frame, float* __restrict out, bool bypassCache)
{
    const std::size_t n = static_cast<std::size_t>(frame->nb_samples);
    if (frame->format == AV_SAMPLE_FMT_FLT) {
        std::memcpy(out, frame->extended_data[0], n * kOutputChannels * sizeof(float));
        return;
    }
    const float* __restrict left = reinterpret_cast<const float*>(frame->extended_data[0]);
    const float* __restrict right = reinterpret_cast<const float*>(frame->extended_data[1]);
    std::size_t i = 0;
#if defined(__SSE2__)
    if (bypassCache) {
        // Streaming stores need 16-byte alignment; a frame is 8 bytes.
        if (reinterpret_cast<std::uintptr_t>(out) % 16 != 0 && n > 0) {
            out[0] = left[0];
            out[1] = right[0];
            i = 1;
        }
        for (; i + 4 <= n; i += 4) {
            const __m128 l = _mm_loadu_ps(left + i);
            const __m128 r = _mm_loadu_ps(right + i);
            _mm_stream_ps(out + 2 * i, _mm_unpacklo_ps(l, r));
            _mm_stream_ps(out + 2 * i + 4, _mm_unpackhi_ps(l, r));
        }
        // Streaming stores are weakly ordered: they land before the frames are committed.
        _mm_sfence();
    }
#else
    (void)bypassCache;
#endif
    for (; i < n; ++i) {
        out[2 * i] = left[i];
        out[2 * i + 1] = right[i];
    }
}

}  // namespace

Result FileDecoder::ConvertFrame(const AVFrame* input)
{
    // Most files decode to stereo float at the output rate; a plain copy then does the
    // resampler's work in a fraction of its time. The resampler holds nothing back for
    // such frames, as it does not resample them.
    const bool plain = IsPlainStereo(input);
    const int capacity = plain ? input->nb_samples
                               : swr_get_out_samples(resampler_.get(), input ? input->nb_samples : 0);
    if (capacity < 0)
        return kErrFileDamaged;
    auto convert = [&](float* to) {
        if (plain) {
            InterleaveStereo(input, to, to == direct_);
            return capacity;
        }
        uint8_t* out = reinterpret_cast<uint8_t*>(to);
        return swr_convert(resampler_.get(), &out, capacity + 1,
                           input ? const_cast<const uint8_t**>(input->extended_data) : nullptr,
                           input ? input->nb_samples : 0);
    };
    if (direct_ && discardFrames_ == 0 && static_cast<std::size_t>(capacity) + 1 <= directCapacity_) {
        // Straight into the reader's buffer: one copy less.
        const int converted = convert(direct_);
        if (converted < 0)
            return kErrFileDamaged;
        directFrames_ = static_cast<std::size_t>(converted);
        return kOk;
    }
    // Pending frames are consumed before decoding more, so the buffer restarts at 0.
    pending_.resize(static_cast<std::size_t>(capacity + 1) * kOutputChannels);
    const int converted = convert(pending_.data());
    if (converted < 0)
        return kErrFileDamaged;
    pendingStart_ = 0;
    pendingFrames_ = static_cast<std::size_t>(converted);

    if (discardFrames_ > 0) {
        const std::size_t drop = std::min<std::size_t>(pendingFrames_, static_cast<std::size_t>(discardFrames_));
        pendingStart_ += drop;
        pendingFrames_ -= drop;
        discardFrames_ -= static_cast<long long>(drop);
    }
    return kOk;
}

Result FileDecoder::DecodeMore()
{
    while (!finished_) {
        const int received = avcodec_receive_frame(codec_.get(), frame_.get());
        if (received == 0) {
            if (seekTargetMs_ >= 0) {
                // The demuxer lands near the target; drop the frames that lie before it.
                const int64_t pts = frame_->best_effort_timestamp;
                if (pts != AV_NOPTS_VALUE) {
                    const AVStream* stream = format_->streams[streamIndex_];
                    int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
                    // Counted in output frames, not milliseconds, so the start is exact to the sample.
                    const long long frameStart = av_rescale_q(pts - start, stream->time_base, AVRational{1, kSampleRate});
                    discardFrames_ = std::max(0LL, MsToFrames(seekTargetMs_) - frameStart);
                }
                seekTargetMs_ = -1;
            }
            const Result r = ConvertFrame(frame_.get());
            av_frame_unref(frame_.get());
            if (r != kOk)
                return r;
            if (pendingFrames_ > 0 || directFrames_ > 0)
                return kOk;
            continue;
        }
        if (received == AVERROR_EOF) {
            // Whatever the resampler still holds ends the audio.
            const Result r = ConvertFrame(nullptr);
            finished_ = true;
            return r;
        }
        if (received != AVERROR(EAGAIN))
            return kErrFileDamaged;

        if (demuxDone_)
            return kErrFileDamaged;  // the decoder wants input after being drained
        const int read = av_read_frame(format_.get(), packet_.get());
        if (read < 0) {
            // End of file, or a read error that ends the audio where it breaks off.
            demuxDone_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == streamIndex_) {
            const int sent = avcodec_send_packet(codec_.get(), packet_.get());
            // A damaged packet is skipped; the decoder resynchronises on the next one.
            if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR(EAGAIN)) {
                av_packet_unref(packet_.get());
                return kErrFileDamaged;
            }
        }
        av_packet_unref(packet_.get());
    }
    return kOk;
}

Result FileDecoder::Read(float* frames, std::size_t capacity, std::size_t* produced)
{
    if (!frames || !produced)
        return kErrInvalidParam;
    *produced = 0;
    if (endFrames_ >= 0)
        capacity = static_cast<std::size_t>(std::clamp<long long>(endFrames_ - positionFrames_, 0,
                                                                  static_cast<long long>(capacity)));
    while (*produced < capacity) {
        if (pendingFrames_ == 0) {
            if (finished_)
                break;
            direct_ = frames + *produced * kOutputChannels;
            directCapacity_ = capacity - *produced;
            const Result r = DecodeMore();
            direct_ = nullptr;
            *produced += directFrames_;
            directFrames_ = 0;
            if (r != kOk)
                return *produced > 0 ? kOk : r;
            continue;
        }
        const std::size_t n = std::min(pendingFrames_, capacity - *produced);
        std::memcpy(frames + *produced * kOutputChannels, &pending_[pendingStart_ * kOutputChannels],
                    n * kOutputChannels * sizeof(float));
        pendingStart_ += n;
        pendingFrames_ -= n;
        *produced += n;
    }
    positionFrames_ += static_cast<long long>(*produced);
    return kOk;
}

Result FileDecoder::SeekMs(unsigned positionMs)
{
    const AVStream* stream = format_->streams[streamIndex_];
    // Frames can depend on the ones before them (overlapping transforms, a bit reservoir):
    // land a little early and decode up to the target.
    constexpr unsigned kPrerollMs = 200;
    const unsigned landing = positionMs > kPrerollMs ? positionMs - kPrerollMs : 0;
    int64_t target = av_rescale_q(landing, AVRational{1, 1000}, stream->time_base);
    if (stream->start_time != AV_NOPTS_VALUE)
        target += stream->start_time;

    pendingFrames_ = 0;
    pendingStart_ = 0;
    discardFrames_ = 0;
    positionFrames_ = MsToFrames(positionMs);
    demuxDone_ = false;
    finished_ = false;
    avcodec_flush_buffers(codec_.get());
    if (const Result r = ResetResampler(); r != kOk)
        return r;
    if (av_seek_frame(format_.get(), streamIndex_, target, AVSEEK_FLAG_BACKWARD) < 0)
        return SeekByDecoding(positionMs);
    seekTargetMs_ = positionMs;
    return kOk;
}

Result FileDecoder::SeekByDecoding(unsigned positionMs)
{
    // The container cannot seek: start over and discard everything before the target.
    if (avformat_seek_file(format_.get(), -1, INT64_MIN, 0, 0, AVSEEK_FLAG_BYTE) < 0 &&
        av_seek_frame(format_.get(), -1, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_BYTE) < 0)
        return kErrFileDamaged;
    seekTargetMs_ = -1;
    discardFrames_ = MsToFrames(positionMs);
    return kOk;
}

}  // namespace audio
