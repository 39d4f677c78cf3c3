// CPU cost of playing: CPU seconds per second of audio while the player's
// window plays a 20-second MP3 (its 10 ms tick repainting the position bar and
// the now-playing panel), next to the audio engine playing the same file
// without a window, and next to the ffplay command playing it, in one run.
// Runs headless: offscreen windows and the dummy audio driver.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "app/Player.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "ui/Prompt.h"

namespace {

constexpr int kSeconds = 20;

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Cost {
    double cpu = 0;
    double wall = 0;
    double PerAudioSecond() const { return cpu / wall; }
};

// Measures the CPU time this process spends while `play` runs.
template <class F>
Cost Measure(F&& play)
{
    const double cpu = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    play();
    return {CpuSeconds(RUSAGE_SELF) - cpu, double(wall.elapsed()) / 1000.0};
}

bool MakeMp3(const std::string& file)
{
    const std::string command = "ffmpeg -loglevel error -y -f lavfi -i 'sine=frequency=440:sample_rate=44100:duration=" +
                                std::to_string(kSeconds) + "' -ac 2 -c:a libmp3lame -b:a 128k '" + file +
                                "' </dev/null";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(file);
}

Cost EngineAlone(const std::string& file)
{
    AudioEngine engine;
    if (engine.Init() < 0)
        return {};
    Cost cost = Measure([&] {
        if (!engine.PlayFile(file))
            return;
        while (engine.IsPlaying())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    });
    engine.FreeCurrent();
    engine.Close();
    return cost;
}

// The floor of any 10 ms tick: the engine plays while the event loop wakes
// every 10 ms and asks it only whether it still plays.
Cost EngineWithEmptyTick(const std::string& file)
{
    AudioEngine engine;
    if (engine.Init() < 0)
        return {};
    QObject owner;
    Cost cost = Measure([&] {
        if (!engine.PlayFile(file))
            return;
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (!engine.IsPlaying())
                loop.quit();
        });
        tick.start(10);
        loop.exec();
    });
    engine.FreeCurrent();
    engine.Close();
    return cost;
}

Cost Window(const std::string& file)
{
    Player player;
    player.show();
    GridCtrl& tracks = player.CurrentTrackList();
    tracks.Add({Value(1), Value(file), Value("Sine 440"), Value("Bench"), Value("Bench"), Value(kSeconds * 1000)});
    tracks.SetCursor(0);
    QApplication::processEvents();
    return Measure([&] {
        // The window's own event loop runs the tick; a slow check ends it after the track.
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (!player.Started())
                loop.quit();
        });
        check.start(100);
        player.Play();
        loop.exec();
    });
}

Cost Ffplay(const std::string& file)
{
    QElapsedTimer wall;
    wall.start();
    const pid_t child = fork();
    if (child < 0)
        return {};
    if (child == 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execlp("ffplay", "ffplay", "-nodisp", "-autoexit", "-loglevel", "quiet", file.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), double(wall.elapsed()) / 1000.0};
}

void Print(const char* name, const Cost& cost)
{
    std::printf("%-28s %6.2f s audio  %6.3f CPU s  %7.4f CPU s per audio s\n", name, cost.wall, cost.cpu,
                cost.PerAudioSecond());
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication app(argc, argv);
    SetPromptHandler([](const PromptRequest& request) { std::fprintf(stderr, "message: %s", request.text.c_str()); });

    const auto dir = std::filesystem::temp_directory_path() / ("quillon-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "sine20.mp3").string();
    int code = 1;
    Sqlite3Session session;
    if (!MakeMp3(file)) {
        std::fprintf(stderr, "cannot make the MP3 with ffmpeg\n");
    } else if (!session.Open((dir / "QuillonPlayer.db3").string()) || !CreateLibraryTables(session)) {
        std::fprintf(stderr, "cannot create the library database\n");
    } else {
        SQL = session;
        std::printf("Playing a %d-second MP3 (offscreen, dummy audio driver)\n", kSeconds);
        const Cost engine = EngineAlone(file);
        const Cost emptyTick = EngineWithEmptyTick(file);
        const Cost window = Window(file);
        const Cost ffplay = Ffplay(file);
        Print("audio engine, no window", engine);
        Print("engine + empty 10 ms timer", emptyTick);
        Print("player window", window);
        Print("ffplay -nodisp -autoexit", ffplay);
        if (engine.cpu > 0)
            std::printf("window / engine alone: %.2f (target at most 1.5)\n", window.PerAudioSecond() / engine.PerAudioSecond());
        if (emptyTick.cpu > 0)
            std::printf("window / empty 10 ms timer: %.2f\n", window.PerAudioSecond() / emptyTick.PerAudioSecond());
        if (ffplay.cpu > 0)
            std::printf("window / ffplay:       %.2f (target at most 1.0)\n", window.PerAudioSecond() / ffplay.PerAudioSecond());
        code = 0;
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return code;
}
