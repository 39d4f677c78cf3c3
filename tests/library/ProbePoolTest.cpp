#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "library/ProbePool.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(QP_FIXTURES) + "/" + name; }

PathSource ListSource(std::vector<ProbedPath> items)
{
    return [items = std::move(items)](const std::function<bool(ProbedPath&&)>& push) mutable {
        for (ProbedPath& item : items)
            if (!push(std::move(item)))
                return;
    };
}

// Gives the same file until the pool refuses it.
PathSource EndlessSource()
{
    return [](const std::function<bool(ProbedPath&&)>& push) {
        while (push(ProbedPath{Fixture("tone.wav"), {}})) {
        }
    };
}

std::vector<ProbedPath> TakeAll(ProbePool& pool)
{
    std::vector<ProbedPath> all;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!pool.Finished() && std::chrono::steady_clock::now() < deadline) {
        std::vector<ProbedPath> some = pool.TakeReady(7);
        if (some.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (ProbedPath& item : some)
            all.push_back(std::move(item));
    }
    return all;
}

void WaitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

TEST(ProbePoolTest, ResultsComeBackInTheSourcesOrderWhateverFinishesFirst)
{
    // Missing files fail at once while real ones are decoded, so the workers finish out of order.
    std::vector<ProbedPath> items;
    std::vector<std::string> paths;
    for (int i = 0; i < 120; ++i) {
        const std::string path = i % 3 == 0 ? Fixture("tone.ogg") : i % 3 == 1 ? "/missing/" + std::to_string(i) + ".mp3"
                                                                               : Fixture("tone.mp3");
        ProbedPath item{path, {}};
        if (i == 50) {  // what the scan already knows passes through untouched
            item.probed.problem = AudioEngine::FileProblem::Unreadable;
            item.probed.reason = "cannot read folder: permission denied";
        }
        paths.push_back(path);
        items.push_back(std::move(item));
    }
    ProbePool pool(4);
    EXPECT_EQ(pool.ThreadCount(), 4u);
    std::atomic<int> wakes{0};
    pool.WhenReady = [&] { ++wakes; };
    pool.Start(ListSource(std::move(items)));
    const std::vector<ProbedPath> results = TakeAll(pool);

    ASSERT_EQ(results.size(), paths.size());
    for (size_t i = 0; i < results.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(results[i].path, paths[i]);
        if (i == 50)
            EXPECT_EQ(results[i].probed.reason, "cannot read folder: permission denied");
        else if (i % 3 == 1)
            EXPECT_EQ(results[i].probed.reason, "cannot read: the file is gone");
        else
            EXPECT_TRUE(results[i].probed.Playable());
    }
    EXPECT_GT(wakes.load(), 0);
    EXPECT_EQ(pool.Found(), paths.size());
}

TEST(ProbePoolTest, CancelAndDestructionStopAJobThatWouldNeverEnd)
{
    ProbePool pool(2);
    pool.Start(EndlessSource());
    WaitUntil([&] { return pool.Found() > 50; });
    EXPECT_FALSE(pool.TakeReady(10).empty() && pool.Finished());
    pool.Cancel();
    EXPECT_TRUE(pool.Finished());
    EXPECT_TRUE(pool.TakeReady(100).empty());

    // The next job runs as if nothing had come before.
    pool.Start(ListSource({ProbedPath{Fixture("tone.ogg"), {}}}));
    const std::vector<ProbedPath> next = TakeAll(pool);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].path, Fixture("tone.ogg"));

    // Going away in the middle of a job joins every thread instead of hanging or crashing.
    auto doomed = std::make_unique<ProbePool>(2);
    doomed->Start(EndlessSource());
    WaitUntil([&] { return doomed->Found() > 10; });
    doomed.reset();
}
