// CPU cost of playing: a 20-second MP3 played through the silent output
// driver in real time; prints CPU seconds per second of audio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "audio/AudioSystem.h"
#include "audio_bench_support.h"
#include "../tests/support/TempDir.h"

int main()
{
    // The silent driver consumes audio in real time, like a sound card, without making a sound.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TempDir dir;
    const std::string path = dir.File("twenty.mp3");
    if (!MakeToneFile(path, 20, "-c:a libmp3lame -b:a 192k"))
        return 1;

    audio::AudioSystem system;
    if (system.Init(32, audio::kInitNormal, nullptr) != audio::kOk)
        return 1;
    audio::StreamHandle stream;
    audio::ChannelHandle channel;
    if (system.CreateStream(path, 0, nullptr, &stream) != audio::kOk)
        return 1;
    const double cpuStart = CpuSeconds();
    const double wallStart = WallSeconds();
    if (system.PlaySound(-1, stream, false, &channel) != audio::kOk)
        return 1;
    bool playing = true;
    while (playing) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        system.IsPlaying(channel, &playing);
    }
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = WallSeconds() - wallStart;
    unsigned position = 0;
    system.GetPositionMs(channel, &position);
    std::printf("played %.2f s of audio in %.2f s: %.4f CPU seconds per second of audio (%.2f %% of one core)\n",
                position / 1000.0, wall, cpu / (position / 1000.0), 100.0 * cpu / wall);
    system.Close();
    return 0;
}
