// The output tells the controlling thread when a channel has played its last sample.
#include <gtest/gtest.h>
#include <poll.h>

#include "audio/EndSignal.h"
#include "audio/OfflineSystem.h"

using namespace audio;

namespace {

class EndSignalTest : public OfflineSystemTest {
protected:
    void SetUp() override
    {
        OfflineSystemTest::SetUp();
        ASSERT_EQ(system.GetEndSignal(&ends), kOk);
        ASSERT_GE(ends->Fd(), 0);
    }

    bool Raised() const
    {
        pollfd watched{ends->Fd(), POLLIN, 0};
        return poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN);
    }

    EndSignal* ends = nullptr;
};

}  // namespace

TEST_F(EndSignalTest, RaisedAtAHandOverAndAtAnEndButNotByAStop)
{
    const ChannelHandle a = Play(Open("gapless-a.wav"));
    ChannelHandle b;
    ASSERT_EQ(system.QueueSound(a, Open("gapless-b.wav"), &b), kOk);
    Render(a, 1000);
    EXPECT_FALSE(Raised());

    Render(a);
    EXPECT_TRUE(Raised()) << "the first track went on to the queued one";
    ends->Clear();
    EXPECT_FALSE(Raised());
    Render(b);
    EXPECT_TRUE(Raised()) << "the last track ended";
    ends->Clear();
    ends->Clear();  // with nothing raised it does not wait
    EXPECT_FALSE(Raised());

    // Stopping is the controlling thread's own doing: nothing to tell.
    const ChannelHandle c = Play(Open("gapless-a.wav"));
    Render(c, 1000);
    ASSERT_EQ(system.Stop(c), kOk);
    Render(c);
    EXPECT_FALSE(Raised());
}
