// Decoding speed of the back-end (decoder thread, ring and mixer, no device
// pacing) against a bare decode loop of the same file, in CPU seconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "audio/AudioSystem.h"
#include "audio/PcmFormat.h"
#include "audio_bench_support.h"
#include "load_average.h"
#include "../tests/support/TempDir.h"

namespace {

// Demux and decode only: the lower bound for any player of this file.
long long BareDecode(const std::string& path)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return -1;
    avformat_find_stream_info(format, nullptr);
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(context, format->streams[stream]->codecpar);
    context->thread_count = 1;
    avcodec_open2(context, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    long long samples = 0;
    auto drain = [&] {
        while (avcodec_receive_frame(context, frame) == 0) {
            samples += frame->nb_samples;
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(context, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    avcodec_send_packet(context, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
    avformat_close_input(&format);
    return samples;
}

long long BackendDecode(const std::string& path)
{
    audio::AudioSystem system;
    if (system.Init(1, audio::kInitNoOutput, nullptr) != audio::kOk)
        return -1;
    audio::StreamHandle stream;
    audio::ChannelHandle channel;
    if (system.CreateStream(path, 0, nullptr, &stream) != audio::kOk ||
        system.PlaySound(-1, stream, false, &channel) != audio::kOk)
        return -1;
    std::vector<float> block(4096 * audio::kOutputChannels);
    long long frames = 0;
    bool playing = true;
    while (playing) {
        int delivered = 0;
        system.RenderOutput(block.data(), 4096, &delivered);
        frames += delivered;
        if (delivered == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        system.IsPlaying(channel, &playing);
    }
    return frames;
}

// Best CPU time of each side over alternating runs, so that both meet the
// same spells of a busy or quiet machine: on a shared host the speed of a
// core drifts by a quarter from one second to the next.
struct Best {
    double bare = 1e9, backend = 1e9;
    long long bareSamples = 0, backendFrames = 0;
};

Best AlternatingBest(const std::string& path, int rounds)
{
    Best best;
    for (int i = 0; i < rounds; ++i) {
        double start = CpuSeconds();
        best.bareSamples = BareDecode(path);
        best.bare = std::min(best.bare, CpuSeconds() - start);
        start = CpuSeconds();
        best.backendFrames = BackendDecode(path);
        best.backend = std::min(best.backend, CpuSeconds() - start);
    }
    return best;
}

}  // namespace

int main()
{
    av_log_set_level(AV_LOG_FATAL);
    TempDir dir;
    const struct {
        const char* name;
        const char* options;
    } files[] = {{"long.mp3", "-c:a libmp3lame -b:a 192k"}, {"long.ogg", "-c:a libvorbis -q:a 5"}};

    // Five minutes, so each side spends a few hundred milliseconds of CPU and
    // start-up and scheduling noise stay small next to the decoding.
    constexpr int kSeconds = 300;
    constexpr int kRounds = 7;
    std::printf("decoding %d s of audio, best of %d alternating runs, CPU seconds; load average %.2f\n", kSeconds,
                kRounds, LoadAverage());
    for (const auto& f : files) {
        const std::string path = dir.File(f.name);
        if (!MakeToneFile(path, kSeconds, f.options))
            return 1;
        const Best best = AlternatingBest(path, kRounds);
        std::printf("%-9s bare decode %.3f s (%lld samples)  back-end %.3f s (%lld frames)  ratio %.2f (target <= 1.15)\n",
                    f.name, best.bare, best.bareSamples, best.backend, best.backendFrames, best.backend / best.bare);
    }
    return 0;
}
