#include "library/ProbePool.h"

#include <algorithm>

#include "core/ThreadPriority.h"

namespace {

// Paths found but not yet taken by the owner; beyond this the scan waits, so a
// huge tree costs bounded memory.
constexpr std::size_t kMaxPending = 4096;
// How far below the user-interface thread the pool's threads run: enough that
// the window gets a core at once when it has work, little enough that the
// readers still win over other programs' background work.
constexpr int kNiceSteps = 2;

}  // namespace

ProbePool::ProbePool(unsigned threads)
{
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    workers_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i)
        workers_.emplace_back([this] { WorkerLoop(); });
}

ProbePool::~ProbePool()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        ++generation_;
        slots_.clear();
    }
    workAvailable_.notify_all();
    roomAvailable_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    JoinScan();
}

void ProbePool::JoinScan()
{
    if (scan_.joinable())
        scan_.join();
}

// Owner thread.
void ProbePool::Start(PathSource source)
{
    Cancel();
    // The cancelled scan stops at its next path; waiting for it keeps one scan at a time.
    JoinScan();
    unsigned generation = 0;
    {
        std::lock_guard lock(mutex_);
        generation = ++generation_;
        sourceEnded_ = false;
        wakePending_ = false;
        found_.store(0, std::memory_order_relaxed);
    }
    scan_ = std::thread([this, source = std::move(source), generation] { ScanLoop(source, generation); });
}

// Scan thread.
void ProbePool::ScanLoop(PathSource source, unsigned generation)
{
    LowerThisThreadPriority(kNiceSteps);
    source([&](ProbedPath&& item) { return Push(std::move(item), generation); });
    std::unique_lock lock(mutex_);
    if (generation != generation_)
        return;
    sourceEnded_ = true;
    if (ShouldWake())
        Wake(lock);
}

// Scan thread.
bool ProbePool::Push(ProbedPath&& item, unsigned generation)
{
    std::unique_lock lock(mutex_);
    roomAvailable_.wait(lock, [&] { return slots_.size() < kMaxPending || generation != generation_; });
    if (generation != generation_ || stopping_)
        return false;
    const bool known = !item.probed.Playable();  // a scan problem needs no probe
    slots_.push_back(Slot{std::move(item), known, known});
    found_.fetch_add(1, std::memory_order_relaxed);
    if (!known) {
        lock.unlock();
        workAvailable_.notify_one();
        return true;
    }
    if (ShouldWake())
        Wake(lock);
    return true;
}

// Worker threads.
void ProbePool::WorkerLoop()
{
    LowerThisThreadPriority(kNiceSteps);
    std::unique_lock lock(mutex_);
    for (;;) {
        workAvailable_.wait(lock, [&] {
            while (nextUnclaimed_ < slots_.size() && slots_[nextUnclaimed_].claimed)
                ++nextUnclaimed_;
            return stopping_ || nextUnclaimed_ < slots_.size();
        });
        if (stopping_)
            return;
        Slot& slot = slots_[nextUnclaimed_];
        slot.claimed = true;
        const std::size_t index = firstIndex_ + nextUnclaimed_;
        const unsigned generation = generation_;
        const std::string path = slot.item.path;
        lock.unlock();

        AudioEngine::FileCheck probed = AudioEngine::CheckFile(path);

        lock.lock();
        // The owner may have taken earlier results (index moved) or cancelled (generation moved).
        if (generation != generation_)
            continue;
        Slot& done = slots_[index - firstIndex_];
        done.item.probed = std::move(probed);
        done.done = true;
        if (ShouldWake()) {
            Wake(lock);
            lock.lock();
        }
    }
}

bool ProbePool::ShouldWake()
{
    if (wakePending_)
        return false;
    const bool ready = !slots_.empty() ? slots_.front().done : sourceEnded_;
    if (ready)
        wakePending_ = true;
    return ready;
}

void ProbePool::Wake(std::unique_lock<std::mutex>& lock)
{
    lock.unlock();
    if (WhenReady)
        WhenReady();
}

// Owner thread.
std::vector<ProbedPath> ProbePool::TakeReady(std::size_t max)
{
    std::vector<ProbedPath> ready;
    std::unique_lock lock(mutex_);
    while (ready.size() < max && !slots_.empty() && slots_.front().done) {
        ready.push_back(std::move(slots_.front().item));
        slots_.pop_front();
        ++firstIndex_;
        if (nextUnclaimed_ > 0)
            --nextUnclaimed_;
    }
    wakePending_ = false;
    const bool more = ShouldWake();  // what was left over, or the end of the job
    lock.unlock();
    roomAvailable_.notify_one();
    if (more && WhenReady)
        WhenReady();
    return ready;
}

// Owner thread.
bool ProbePool::Finished()
{
    std::lock_guard lock(mutex_);
    return sourceEnded_ && slots_.empty();
}

// Owner thread.
void ProbePool::Cancel()
{
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        firstIndex_ += slots_.size();
        slots_.clear();
        nextUnclaimed_ = 0;
        sourceEnded_ = true;
        wakePending_ = false;
    }
    roomAvailable_.notify_all();
}
