// CPU cost of playing: CPU seconds per second of audio, peak memory, decoder
// wake-ups and display paints per second while a 60-second music-like MP3
// (pink noise under a chord, 192 kbit/s) plays
//   - through the audio engine alone, and with an empty 10 ms timer beside it;
//   - through the player's window, shown and hidden, offscreen and under an
//     Xvfb server that the benchmark starts itself (its CPU is shown apart);
//   - through ffplay -nodisp -autoexit, and mpv / audacious when installed.
// Every player runs in a process of its own, so peak memory is its own, and
// all use a silent audio output. CPU is counted while the audio plays.
// Usage: bench_playback_cpu [seconds]   (default 60)
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/Player.h"
#include "app/ToolkitSetup.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "load_average.h"
#include "playback/ProgressButton.h"
#include "playback/StreamInfo.h"
#include "ui/Prompt.h"

namespace {

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

double SelfCpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU seconds a process has used so far, from /proc (clock-tick resolution).
double ProcCpu(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::vector<std::string> fields;
    std::string field;
    for (char c : line.substr(close + 2)) {
        if (c == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    if (fields.size() < 13)
        return 0;
    return double(std::stoll(fields[11]) + std::stoll(fields[12])) / double(sysconf(_SC_CLK_TCK));
}

// Voluntary context switches (sleeps, so wake-ups) of this process's threads named `name`.
long ThreadWakeups(const char* name)
{
    long total = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream comm(task.path() / "comm");
        std::string taskName;
        std::getline(comm, taskName);
        if (taskName != name)
            continue;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                total += std::stol(line.substr(24));
    }
    return total;
}

// What a playing child reports to the benchmark.
struct Report {
    double cpu = 0;       // CPU seconds while playing
    double audio = 0;     // seconds played
    long decoderWakeups = -1;
    long displayPaints = -1;
    long windowPaints = -1;
};

void SendReport(const Report& r)
{
    std::printf("REPORT %.6f %.6f %ld %ld %ld\n", r.cpu, r.audio, r.decoderWakeups, r.displayPaints, r.windowPaints);
    std::fflush(stdout);
}

// Samples the decoder's wake-ups once a second while it lives (it ends with
// the track): reading /proc costs more than what it measures.
struct WakeupSampler {
    long last = 0;
    double next = 0;
    void Sample()
    {
        if (Now() < next)
            return;
        next = Now() + 1.0;
        last = std::max(last, ThreadWakeups("qp-decoder"));
    }
};

// ---- Child modes: each plays the file once and reports.

int RunEngine(const std::string& file, bool emptyTick)
{
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    AudioEngine engine;
    if (engine.Init() < 0)
        return 1;
    WakeupSampler wakeups;
    const double cpu = SelfCpu();
    const double start = Now();
    if (!engine.PlayFile(file))
        return 1;
    QEventLoop loop;
    QTimer tick;   // the floor of any 10 ms tick: it asks only whether the engine still plays
    QTimer check;  // what the engine alone needs: a look now and then (and the bench its samples)
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!engine.IsPlaying())
            loop.quit();
    });
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        wakeups.Sample();
        if (!engine.IsPlaying())
            loop.quit();
    });
    if (emptyTick) {
        tick.setTimerType(Qt::PreciseTimer);
        tick.start(10);
    }
    check.start(200);
    loop.exec();
    SendReport({SelfCpu() - cpu, Now() - start, wakeups.last, -1, -1});
    engine.FreeCurrent();
    engine.Close();
    return 0;
}

// Counts paints of the two displays and of every widget of the window.
class PaintCounter : public QObject {
public:
    long displays = 0;
    long all = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++all;
            if (dynamic_cast<ProgressButton*>(watched) || dynamic_cast<StreamInfo*>(watched))
                ++displays;
        }
        return false;
    }
};

int RunWindow(const std::string& file, const std::string& dir, const std::string& visibility)
{
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    PrepareToolkit();
    QApplication app(argc, argv);
    SetPromptHandler([](const PromptRequest& request) { std::fprintf(stderr, "message: %s", request.text.c_str()); });
    Sqlite3Session session;
    if (!session.Open(dir + "/QuillonPlayer.db3") || !CreateLibraryTables(session))
        return 1;
    SQL = session;

    Player player;
    player.resize(800, 500);
    player.show();
    GridCtrl& tracks = player.CurrentTrackList();
    tracks.Add({Value(1), Value(file), Value("Noise and chord"), Value("Bench"), Value("Bench"), Value(60000)});
    tracks.SetCursor(0);
    if (visibility == "minimised")
        player.showMinimized();
    else if (visibility == "hidden")
        player.hide();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    PaintCounter paints;
    app.installEventFilter(&paints);
    WakeupSampler wakeups;
    const double cpu = SelfCpu();
    const double start = Now();
    // The window's own event loop runs the tick; a check five times a second ends it after the track.
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        wakeups.Sample();
        if (!player.Started())
            loop.quit();
    });
    check.start(200);
    player.Play();
    loop.exec();
    SendReport({SelfCpu() - cpu, Now() - start, wakeups.last, paints.displays, paints.all});
    app.removeEventFilter(&paints);
    return 0;
}

// ---- The benchmark itself.

struct Result {
    std::string name;
    bool ran = false;
    Report report;
    double peakMiB = 0;
    double xserverCpu = -1;
    double PerAudioSecond() const { return report.audio > 0 ? report.cpu / report.audio : 0; }
};

// Runs args with `env` added and collects its standard output and rusage;
// `whileRunning` runs beside it on a thread of its own.
bool Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, rusage* usage,
           std::string* output, pid_t* childPid = nullptr, const std::function<void(pid_t)>& whileRunning = {})
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        close(pipeFds[1]);
        for (const std::string& e : env)
            putenv(strdup(e.c_str()));
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(strdup(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (childPid)
        *childPid = child;
    std::thread watcher;
    if (whileRunning)
        watcher = std::thread([&] { whileRunning(child); });
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output->append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    const bool waited = wait4(child, &status, 0, usage) == child;
    if (watcher.joinable())
        watcher.join();
    return waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Result RunSelf(const std::string& name, const std::string& self, const std::vector<std::string>& args,
               const std::vector<std::string>& env, pid_t xserver = 0)
{
    Result result{name};
    rusage usage{};
    std::string output;
    const double xBefore = xserver ? ProcCpu(xserver) : 0;
    std::vector<std::string> argv{self, "--child"};
    argv.insert(argv.end(), args.begin(), args.end());
    if (!Spawn(argv, env, &usage, &output)) {
        std::fprintf(stderr, "%s: the child failed\n%s", name.c_str(), output.c_str());
        return result;
    }
    const auto at = output.find("REPORT ");
    if (at == std::string::npos)
        return result;
    Report& r = result.report;
    if (std::sscanf(output.c_str() + at, "REPORT %lf %lf %ld %ld %ld", &r.cpu, &r.audio, &r.decoderWakeups,
                    &r.displayPaints, &r.windowPaints) != 5)
        return result;
    result.ran = true;
    result.peakMiB = double(usage.ru_maxrss) / 1024.0;
    if (xserver)
        result.xserverCpu = ProcCpu(xserver) - xBefore;
    return result;
}

// An installed command-line player: CPU from one second after its start to its end.
Result RunCommand(const std::string& name, const std::vector<std::string>& args)
{
    Result result{name};
    if (std::system(("command -v " + args[0] + " >/dev/null 2>&1").c_str()) != 0)
        return result;
    rusage usage{};
    std::string output;
    double cpuAtMark = 0, markTime = 0;
    const double start = Now();
    const bool ok = Spawn(args, {"SDL_AUDIODRIVER=dummy"}, &usage, &output, nullptr, [&](pid_t pid) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        cpuAtMark = ProcCpu(pid);
        markTime = Now();
    });
    const double end = Now();
    if (!ok || markTime == 0 || end - start < 2)
        return result;
    result.ran = true;
    result.report.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime) - cpuAtMark;
    result.report.audio = end - markTime;
    result.peakMiB = double(usage.ru_maxrss) / 1024.0;
    return result;
}

bool MakeMusicLikeMp3(const std::string& file, int seconds)
{
    // Pink noise under a three-note chord: the encoder and the decoder work as hard as on music.
    const std::string d = std::to_string(seconds);
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -y -f lavfi -i 'anoisesrc=color=pink:amplitude=0.25:seed=7:duration=" + d +
        "' -f lavfi -i 'sine=frequency=262:duration=" + d + "' -f lavfi -i 'sine=frequency=330:duration=" + d +
        "' -f lavfi -i 'sine=frequency=392:duration=" + d +
        "' -filter_complex '[0][1][2][3]amix=inputs=4,tremolo=f=3:d=0.4' -ar 44100 -ac 2 -c:a libmp3lame "
        "-b:a 192k '" + file + "' </dev/null";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(file);
}

// Starts Xvfb on a free display; returns its pid and sets `display` (":N"),
// or 0 when it does not come up.
pid_t StartXvfb(std::string* display)
{
    int fds[2];
    if (pipe(fds) != 0)
        return 0;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               nullptr);
        _exit(127);
    }
    close(fds[1]);
    // The server writes its display number and a newline once it accepts clients.
    std::string number;
    char c = 0;
    while (pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    const bool digits = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
    if (pid <= 0 || !digits || kill(pid, 0) != 0) {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        return 0;
    }
    *display = ":" + number;
    return pid;
}

void Print(const Result& r)
{
    if (!r.ran) {
        std::printf("%-34s not run\n", r.name.c_str());
        return;
    }
    std::printf("%-34s %7.4f CPU s per audio s  peak %5.1f MiB", r.name.c_str(), r.PerAudioSecond(), r.peakMiB);
    if (r.report.decoderWakeups >= 0)
        std::printf("  decoder wake-ups %4.1f/s", double(r.report.decoderWakeups) / r.report.audio);
    if (r.report.displayPaints >= 0)
        std::printf("  display paints %5.1f/s (all widgets %5.1f/s)", double(r.report.displayPaints) / r.report.audio,
                    double(r.report.windowPaints) / r.report.audio);
    if (r.xserverCpu >= 0)
        std::printf("  X server %.4f CPU s per audio s", r.xserverCpu / r.report.audio);
    std::printf("\n");
}

void Ratio(const char* what, const Result& a, const Result& b, double target)
{
    if (a.ran && b.ran && b.PerAudioSecond() > 0)
        std::printf("%-52s %5.2f (target at most %.1f)\n", what, a.PerAudioSecond() / b.PerAudioSecond(), target);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        const std::string mode = argv[2];
        if (mode == "engine" && argc == 4)
            return RunEngine(argv[3], false);
        if (mode == "emptytick" && argc == 4)
            return RunEngine(argv[3], true);
        if (mode == "window" && argc == 6)
            return RunWindow(argv[3], argv[4], argv[5]);
        return 2;
    }
    const int seconds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 60;
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const auto dir = std::filesystem::temp_directory_path() / ("quillon-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "music.mp3").string();
    if (!MakeMusicLikeMp3(file, seconds)) {
        std::fprintf(stderr, "cannot make the MP3 with ffmpeg\n");
        return 1;
    }
    std::string display;
    pid_t xvfb = StartXvfb(&display);
    if (!xvfb)
        xvfb = StartXvfb(&display);  // once more: another server may have taken the display meanwhile
    if (!xvfb)
        std::fprintf(stderr, "Xvfb did not start: the window runs offscreen only\n");

    std::printf("Playing a %d-second 192 kbit/s MP3, silent audio output; load average %.2f at the start\n", seconds,
                LoadAverage());
    const std::vector<std::string> offscreen{"QT_QPA_PLATFORM=offscreen", "SDL_AUDIODRIVER=dummy"};
    const std::vector<std::string> xcb{"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display, "SDL_AUDIODRIVER=dummy"};
    const std::string db = dir.string();
    for (const char* sub : {"o1", "o2", "x1", "x2"})
        std::filesystem::create_directories(dir / sub);
    std::vector<Result> results;
    const Result engine = RunSelf("audio engine alone", self, {"engine", file}, offscreen);
    const Result emptyTick = RunSelf("engine + empty 10 ms timer", self, {"emptytick", file}, offscreen);
    Result shownX, minimisedX;
    if (xvfb) {
        shownX = RunSelf("window shown (Xvfb)", self, {"window", file, db + "/x1", "shown"}, xcb, xvfb);
        minimisedX = RunSelf("window minimised (Xvfb)", self, {"window", file, db + "/x2", "minimised"}, xcb, xvfb);
    }
    const Result shownOff = RunSelf("window shown (offscreen)", self, {"window", file, db + "/o1", "shown"}, offscreen);
    const Result hiddenOff =
        RunSelf("window hidden (offscreen)", self, {"window", file, db + "/o2", "hidden"}, offscreen);
    const Result ffplay = RunCommand("ffplay -nodisp -autoexit", {"ffplay", "-nodisp", "-autoexit", "-loglevel", "quiet", file});
    const Result mpv = RunCommand("mpv --no-video --ao=null", {"mpv", "--no-video", "--ao=null", "--really-quiet", file});
    const Result audacious = RunCommand("audacious -H", {"audacious", "-H", "-q", file});
    if (xvfb) {
        kill(xvfb, SIGTERM);
        waitpid(xvfb, nullptr, 0);
    }

    for (const Result* r : std::initializer_list<const Result*>{&engine, &emptyTick, &shownX, &minimisedX, &shownOff, &hiddenOff, &ffplay, &mpv, &audacious})
        if (!r->name.empty())
            Print(*r);
    const Result& shown = shownX.ran ? shownX : shownOff;
    const Result& hidden = minimisedX.ran ? minimisedX : hiddenOff;
    Ratio(("window shown / ffplay (" + shown.name + ")").c_str(), shown, ffplay, 1.0);
    Ratio("window shown / engine alone", shown, engine, 1.5);
    const Result* leanest = nullptr;
    for (const Result* r : {&ffplay, &mpv, &audacious})
        if (r->ran && (!leanest || r->PerAudioSecond() < leanest->PerAudioSecond()))
            leanest = r;
    if (leanest)
        Ratio(("window hidden / leanest headless (" + leanest->name + ")").c_str(), hidden, *leanest, 1.5);
    double peak = 0;
    for (const Result* r : std::initializer_list<const Result*>{&shownX, &minimisedX, &shownOff, &hiddenOff})
        peak = std::max(peak, r->peakMiB);
    std::printf("%-52s %5.1f MiB (target at most 60)\n", "peak memory of the window while playing", peak);
    std::printf("load average at the end %.2f\n", LoadAverage());

    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return 0;
}
