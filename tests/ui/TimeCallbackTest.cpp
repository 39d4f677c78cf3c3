#include <QObject>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/TimeCallback.h"

namespace {

// Runs the event loop until the condition holds or a generous limit passes.
bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 5000);
}

}  // namespace

TEST(TimeCallback, RunsPeriodicallyUntilKilled)
{
    QObject window;
    int runs = 0;
    SetTimeCallback(&window, 0, 5, [&] { ++runs; });
    EXPECT_TRUE(ExistsTimeCallback(&window, 0));
    EXPECT_TRUE(WaitFor([&] { return runs >= 3; }));

    KillTimeCallback(&window, 0);
    EXPECT_FALSE(ExistsTimeCallback(&window, 0));
    const int after = runs;
    QTest::qWait(40);
    EXPECT_EQ(runs, after);
}

TEST(TimeCallback, SettingTheSameKeyReplacesTheCallback)
{
    QObject window;
    int first = 0, second = 0;
    SetTimeCallback(&window, 1, 5, [&] { ++first; });
    SetTimeCallback(&window, 1, 5, [&] { ++second; });
    EXPECT_TRUE(WaitFor([&] { return second >= 3; }));
    EXPECT_EQ(first, 0);
}

TEST(TimeCallback, KeysAreWindowAndId)
{
    QObject a, b;
    int a0 = 0, a1 = 0, b0 = 0;
    SetTimeCallback(&a, 0, 5, [&] { ++a0; });
    SetTimeCallback(&a, 1, 5, [&] { ++a1; });
    SetTimeCallback(&b, 0, 5, [&] { ++b0; });
    KillTimeCallback(&a, 0);
    EXPECT_TRUE(WaitFor([&] { return a1 >= 2 && b0 >= 2; }));
    EXPECT_EQ(a0, 0);
    EXPECT_TRUE(ExistsTimeCallback(&a, 1));
    EXPECT_FALSE(ExistsTimeCallback(&b, 1));

    KillTimeCallbacks(&a);
    EXPECT_FALSE(ExistsTimeCallback(&a, 1));
    EXPECT_TRUE(ExistsTimeCallback(&b, 0));
}

TEST(TimeCallback, CallbackMayKillOrReplaceItself)
{
    QObject window;
    int killer = 0;
    SetTimeCallback(&window, 0, 1, [&] {
        ++killer;
        KillTimeCallback(&window, 0);
    });
    // A tick that stops and restarts playback sets its own key again.
    int replaced = 0, replacement = 0;
    SetTimeCallback(&window, 1, 1, [&] {
        ++replaced;
        SetTimeCallback(&window, 1, 1, [&] { ++replacement; });
    });
    EXPECT_TRUE(WaitFor([&] { return replacement >= 3; }));
    EXPECT_EQ(killer, 1);
    EXPECT_EQ(replaced, 1);
    EXPECT_FALSE(ExistsTimeCallback(&window, 0));
}

TEST(TimeCallback, DestroyedWindowTakesItsCallbacksAlong)
{
    int runs = 0;
    auto* window = new QObject;
    SetTimeCallback(window, 0, 1, [&] { ++runs; });
    delete window;
    QTest::qWait(30);
    EXPECT_EQ(runs, 0);
}

TEST(TimeCallback, IgnoresMissingWindowOrFunction)
{
    QObject window;
    SetTimeCallback(nullptr, 0, 5, [] {});
    SetTimeCallback(&window, 0, 5, {});
    EXPECT_FALSE(ExistsTimeCallback(&window, 0));
    EXPECT_FALSE(ExistsTimeCallback(nullptr, 0));
    KillTimeCallback(nullptr, 0);
}
