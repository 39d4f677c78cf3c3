#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "playback/AudioEngine.h"

// One entry of an add, in the order the user's choice or the folder scan gave it.
struct ProbedPath {
    std::string path;
    // Filled by a worker; a scan problem (a folder that cannot be read, a path
    // that is too long) comes already filled and is never probed.
    AudioEngine::FileCheck probed;
};

// Where a job's paths come from. It runs on the pool's scan thread and hands
// each path to `push` in order; `push` returns false once the job is cancelled,
// and the source should then stop.
using PathSource = std::function<void(const std::function<bool(ProbedPath&&)>& push)>;

// Probes files on one thread per core and hands the results back in the order
// the source gave the paths. One job runs at a time; the owner queues the next.
//
// Threads: the public functions belong to the owner's thread (the user-interface
// thread), except WhenReady, which a worker calls. Workers and the scan thread
// only ever take the mutex for a moment, so the owner never waits on a probe.
class ProbePool {
public:
    // 0 threads: one per core.
    explicit ProbePool(unsigned threads = 0);
    // Cancels the job and joins every thread.
    ~ProbePool();
    ProbePool(const ProbePool&) = delete;
    ProbePool& operator=(const ProbePool&) = delete;

    // Called on a worker or the scan thread when the next result in order has become
    // ready, or the job has ended, and the owner has taken everything before. It must
    // not block; it is not called again until the owner has run TakeReady.
    std::function<void()> WhenReady;

    // Starts a job. A running job is cancelled first.
    void Start(PathSource source);
    // Up to `max` results in order, from where the last call stopped.
    std::vector<ProbedPath> TakeReady(std::size_t max);
    // True when the source has ended and every result has been taken.
    bool Finished();
    // How many paths the source has given so far.
    std::size_t Found() const { return found_.load(std::memory_order_relaxed); }
    // Drops the job's queued and finished results; workers finish the file in hand
    // and throw it away. The scan thread stops at its next path.
    void Cancel();
    unsigned ThreadCount() const { return static_cast<unsigned>(workers_.size()); }

private:
    struct Slot {
        ProbedPath item;
        bool claimed = false;
        bool done = false;
    };

    void WorkerLoop();
    void ScanLoop(PathSource source, unsigned generation);
    bool Push(ProbedPath&& item, unsigned generation);
    // Caller holds mutex_. Calls WhenReady (after unlocking) when the owner should look.
    bool ShouldWake();
    void Wake(std::unique_lock<std::mutex>& lock);
    void JoinScan();

    std::mutex mutex_;
    std::condition_variable workAvailable_;  // workers wait for an unclaimed slot
    std::condition_variable roomAvailable_;  // the scan thread waits while too much is pending
    std::deque<Slot> slots_;                 // from the next result to hand back onwards
    std::size_t firstIndex_ = 0;             // how many results were taken or dropped before slots_
    std::size_t nextUnclaimed_ = 0;          // index into slots_
    unsigned generation_ = 0;                // grows with every Start and Cancel
    bool sourceEnded_ = true;
    bool wakePending_ = false;
    bool stopping_ = false;
    std::atomic<std::size_t> found_{0};

    std::vector<std::thread> workers_;
    std::thread scan_;
};
