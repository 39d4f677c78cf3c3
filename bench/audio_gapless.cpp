// Gapless track changes: the silence between two tracks played back to back, and
// what it costs to prepare the next track while the current one plays.
//   - boundary silence: each pair of fixtures (one tone cut in two) plays through the
//     back-end's mixer, pulled in real time in device-sized buffers; the silent frames
//     where the two meet are counted, with the next track queued and, for comparison,
//     started the old way once a 10 ms poll has seen the first one end;
//   - preparation: the CPU the process spends opening a 60 s MP3 and decoding its
//     first buffers ahead, next to the CPU of playing that whole track and of opening
//     and starting it at the end the old way.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioSystem.h"
#include "audio/PcmFormat.h"
#include "audio_bench_support.h"
#include "../tests/support/TempDir.h"

using namespace audio;

namespace {

constexpr int kDeviceFrames = 1024;
// Each fixture holds one half of the tone: 20000 frames at 44.1 kHz.
constexpr std::size_t kHalfFrames = 20000;
constexpr double kTickSeconds = 0.010;

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

std::string Fixture(const std::string& name) { return std::string(QP_FIXTURES) + "/" + name; }

bool Silent(const std::vector<float>& out, std::size_t frame)
{
    return std::fabs(out[frame * kOutputChannels]) < 1e-4f && std::fabs(out[frame * kOutputChannels + 1]) < 1e-4f;
}

// Plays `first`, then `second` (queued ahead, or started after a 10 ms poll saw the first
// end), pulling the output in real time; returns the silent frames between the two.
long long BoundarySilence(const std::string& first, const std::string& second, bool queued)
{
    AudioSystem system;
    if (system.Init(8, kInitNoOutput, nullptr) != kOk)
        return -1;
    StreamHandle a, b;
    ChannelHandle playingA, playingB;
    if (system.CreateStream(Fixture(first), 0, nullptr, &a) != kOk ||
        system.CreateStream(Fixture(second), 0, nullptr, &b) != kOk ||
        system.PlaySound(-1, a, false, &playingA) != kOk)
        return -1;
    if (queued && system.QueueSound(playingA, b, &playingB) != kOk)
        return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the decoders fill their rings

    std::vector<float> out;
    std::vector<float> block(kDeviceFrames * kOutputChannels);
    const double start = WallSeconds();
    double nextPoll = start;
    bool secondStarted = queued;
    for (int buffers = 0; buffers < 200; ++buffers) {
        // A device asks for the next buffer when the last one has played.
        const double due = start + buffers * double(kDeviceFrames) / kSampleRate;
        while (WallSeconds() < due) {
            if (!secondStarted && WallSeconds() >= nextPoll) {
                nextPoll += kTickSeconds;
                bool playing = true;
                system.IsPlaying(playingA, &playing);
                if (!playing) {
                    system.PlaySound(-1, b, false, &playingB);
                    secondStarted = true;
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        system.RenderOutput(block.data(), kDeviceFrames);
        out.insert(out.end(), block.begin(), block.end());
        bool firstPlaying = true, secondPlaying = true;
        system.IsPlaying(playingA, &firstPlaying);
        system.IsPlaying(playingB, &secondPlaying);
        if (secondStarted && !firstPlaying && !secondPlaying)
            break;
    }
    // The longest silent run from shortly before the first track's end (frame kHalfFrames)
    // to shortly before the second one's.
    long long longest = 0, run = 0;
    const std::size_t frames = out.size() / kOutputChannels;
    for (std::size_t frame = kHalfFrames - 1000; frame < std::min(frames, 2 * kHalfFrames - 1000); ++frame) {
        run = Silent(out, frame) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    // A single frame at a zero crossing of the tone is not a gap.
    return longest <= 1 ? 0 : longest;
}

struct Preparation {
    double processCpu;  // everything: the opening on the calling thread and the decoding ahead
    double callerCpu;   // the calling thread's share
};

// `queued`: opened and queued behind the playing track; else opened and started at once,
// as the advance did before tracks were queued (the playing track stopped first).
Preparation Prepare(const std::string& current, const std::string& following, bool queued)
{
    AudioSystem system;
    system.Init(8, kInitNoOutput, nullptr);
    StreamHandle a;
    ChannelHandle playing, next;
    system.CreateStream(current, 0, nullptr, &a);
    system.PlaySound(-1, a, false, &playing);
    // The current track's decoder fills its ring and sleeps: nothing else runs meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double process = CpuSeconds();
    const double caller = ThreadCpuSeconds();
    StreamHandle b;
    if (!queued)
        system.Stop(playing);
    system.CreateStream(following, 0, nullptr, &b);
    if (queued)
        system.QueueSound(playing, b, &next);
    else
        system.PlaySound(-1, b, true, &next);
    const double callerCpu = ThreadCpuSeconds() - caller;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return {CpuSeconds() - process, callerCpu};
}

// CPU seconds of decoding and mixing the whole file as fast as it goes.
double PlaybackCpu(const std::string& path, double* audioSeconds)
{
    AudioSystem system;
    system.Init(8, kInitNoOutput, nullptr);
    StreamHandle stream;
    ChannelHandle channel;
    system.CreateStream(path, 0, nullptr, &stream);
    const double cpu = CpuSeconds();
    system.PlaySound(-1, stream, false, &channel);
    std::vector<float> block(kDeviceFrames * kOutputChannels);
    long long frames = 0;
    bool playing = true;
    while (playing) {
        int delivered = 0;
        system.RenderOutput(block.data(), kDeviceFrames, &delivered);
        frames += delivered;
        if (delivered == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        system.IsPlaying(channel, &playing);
    }
    *audioSeconds = double(frames) / kSampleRate;
    return CpuSeconds() - cpu;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    std::printf("boundary silence in samples (target 0), real-time pull in %d-frame buffers:\n", kDeviceFrames);
    const std::pair<const char*, const char*> pairs[] = {{"gapless-a.wav", "gapless-b.wav"},
                                                         {"gapless-a.mp3", "gapless-b.mp3"},
                                                         {"gapless-a.ogg", "gapless-b.ogg"},
                                                         {"gapless-a.wav", "gapless-b48.wav"}};
    for (const auto& [first, second] : pairs)
        std::printf("  %-14s -> %-16s queued: %5lld   started after the end: %5lld\n", first, second,
                    BoundarySilence(first, second, true), BoundarySilence(first, second, false));

    TempDir dir;
    const std::string current = dir.File("current.mp3");
    const std::string next = dir.File("next.mp3");
    if (!MakeToneFile(current, 20, "-c:a libmp3lame -b:a 192k") || !MakeToneFile(next, 60, "-c:a libmp3lame -b:a 192k"))
        return 1;
    std::vector<double> process, caller, started, playback;
    double audioSeconds = 0.0;
    for (int run = 0; run < 5; ++run) {
        const Preparation p = Prepare(current, next, true);
        process.push_back(p.processCpu);
        caller.push_back(p.callerCpu);
        started.push_back(Prepare(current, next, false).processCpu);
        playback.push_back(PlaybackCpu(next, &audioSeconds));
    }
    const double prepare = Median(process);
    const double play = Median(playback);
    std::printf("preparing the next track (60 s MP3, 192 kbit/s), medians of 5:\n");
    std::printf("  %.2f ms CPU in all (%.2f ms on the calling thread), decoding ahead included\n", prepare * 1e3,
                Median(caller) * 1e3);
    std::printf("  playing it costs %.1f ms CPU for %.1f s of audio: preparation = %.2f %% of playing it, "
                "or the CPU of %.0f ms of playback\n",
                play * 1e3, audioSeconds, 100.0 * prepare / play, 1e3 * prepare / (play / audioSeconds));
    std::printf("  opening and starting it at the end instead, as without a queue: %.2f ms CPU "
                "(queued / started = %.2f: the work is the same, done earlier)\n",
                Median(started) * 1e3, prepare / Median(started));
    return 0;
}
