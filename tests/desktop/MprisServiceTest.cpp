#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

#include "desktop/MprisService.h"
#include "support/PrivateBus.h"

namespace {

// A player as simple as the interface allows: commands are logged and change
// the state the way the window's buttons would.
struct FakePlayer {
    PlaybackStatus status = PlaybackStatus::Stopped;
    TrackMetadata track;
    int64_t positionUs = 0;
    double volume = 0.5;
    bool hasRows = true;
    std::vector<std::string> log;
    bool onGuiThread = false;

    MediaPlayerControls Controls()
    {
        MediaPlayerControls c;
        c.raise = [this] {
            log.push_back("raise");
            onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        };
        c.quit = [this] { log.push_back("quit"); };
        c.playPause = [this] {
            log.push_back("playPause");
            status = status == PlaybackStatus::Playing ? PlaybackStatus::Paused : PlaybackStatus::Playing;
        };
        c.stop = [this] {
            log.push_back("stop");
            status = PlaybackStatus::Stopped;
        };
        c.next = [this] { log.push_back("next"); };
        c.previous = [this] { log.push_back("previous"); };
        c.setPosition = [this](int64_t us) {
            log.push_back("setPosition " + std::to_string(us));
            positionUs = us;
        };
        c.setVolume = [this](double v) {
            log.push_back("setVolume " + std::to_string(v));
            volume = v;
        };
        c.open = [this](const std::string& path) { log.push_back("open " + path); };
        c.status = [this] { return status; };
        c.track = [this] { return track; };
        c.positionUs = [this] { return positionUs; };
        c.volume = [this] { return volume; };
        c.canPlay = [this] { return hasRows; };
        c.canGoNext = [this] { return hasRows; };
        c.canGoPrevious = [this] { return hasRows; };
        return c;
    }

    void PlayTrack(int64_t id, int64_t lengthUs)
    {
        status = PlaybackStatus::Playing;
        track = TrackMetadata{id, lengthUs, "Song " + std::to_string(id), "Artist", "Album", "/music/a b.mp3"};
    }
};

class MprisServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        QP_REQUIRE_PRIVATE_BUS(bus);
        service = std::make_unique<MprisService>(
            fake.Controls(), MediaPlayerIdentity{"Quillon Player", "quillon-player", {"audio/mpeg"}});
        ASSERT_TRUE(service->Start(bus.Connect("service"))) << service->Error().toStdString();
        client = bus.Connect("client");
    }

    QDBusMessage Call(const QString& member, const QVariantList& args = {},
                      const QString& interface = kPlayerInterface)
    {
        return CallAndWait(client, service->ServiceName(), kObjectPath, interface, member, args);
    }

    QVariant Get(const QString& name, const QString& interface = kPlayerInterface)
    {
        const QDBusMessage reply = Call("Get", {interface, name}, "org.freedesktop.DBus.Properties");
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    // A map that arrived over the bus, with each value unwrapped to a plain value.
    static QVariantMap Map(const QVariant& value)
    {
        QVariantMap map;
        if (value.canConvert<QDBusArgument>())
            value.value<QDBusArgument>() >> map;
        else
            map = value.toMap();
        return map;
    }

    PrivateBus bus;
    FakePlayer fake;
    std::unique_ptr<MprisService> service;
    QDBusConnection client{QStringLiteral("none")};
};

TEST_F(MprisServiceTest, TakesTheNameAndDescribesBothInterfaces)
{
    EXPECT_EQ(service->ServiceName(), "org.mpris.MediaPlayer2.quillon");
    EXPECT_TRUE(client.interface()->isServiceRegistered(service->ServiceName()).value());

    const QDBusMessage xml =
        Call("Introspect", {}, "org.freedesktop.DBus.Introspectable");
    const QString text = xml.arguments().value(0).toString();
    EXPECT_TRUE(text.contains("org.mpris.MediaPlayer2\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("org.mpris.MediaPlayer2.Player\""));
    // Every property a caller can read is described, so generated proxies see it.
    for (const QVariantMap& answered : {RootProperties({}), PlayerProperties(fake.Controls())})
        for (const QString& name : answered.keys())
            EXPECT_TRUE(text.contains("<property name=\"" + name + "\"")) << name.toStdString();

    EXPECT_EQ(Get("Identity", kRootInterface).toString(), "Quillon Player");
    EXPECT_EQ(Get("DesktopEntry", kRootInterface).toString(), "quillon-player");
    EXPECT_EQ(Get("SupportedUriSchemes", kRootInterface).toStringList(), QStringList{"file"});
}

TEST_F(MprisServiceTest, ASecondPlayerOnTheBusTakesAnInstanceName)
{
    FakePlayer other;
    MprisService second(other.Controls(), {});
    ASSERT_TRUE(second.Start(bus.Connect("second")));
    EXPECT_EQ(second.ServiceName(),
              QStringLiteral("org.mpris.MediaPlayer2.quillon.instance%1").arg(QCoreApplication::applicationPid()));
}

TEST_F(MprisServiceTest, PlayAndPauseToggleOnlyWhenTheStateAsksForIt)
{
    Call("Pause");  // stopped: nothing to pause
    Call("Play");   // starts
    Call("Play");   // already playing
    Call("Pause");  // pauses
    Call("Pause");  // already paused
    Call("PlayPause");  // resumes
    Call("Stop");
    Call("Next");
    Call("Previous");
    const std::vector<std::string> expected = {"playPause", "playPause", "playPause", "stop", "next", "previous"};
    EXPECT_EQ(fake.log, expected);
}

TEST_F(MprisServiceTest, SeekMovesRelativelyWithinTheTrackAndPastTheEndGoesToTheNext)
{
    fake.PlayTrack(7, 10'000'000);
    fake.positionUs = 4'000'000;
    BusSignals seeked(client, kObjectPath, kPlayerInterface, "Seeked");

    Call("Seek", {qlonglong(2'500'000)});
    Call("Seek", {qlonglong(-9'000'000)});  // before the start: the start
    Call("Seek", {qlonglong(20'000'000)});  // past the end
    const std::vector<std::string> expected = {"setPosition 6500000", "setPosition 0", "next"};
    EXPECT_EQ(fake.log, expected);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seeked.received.size() == 2; }, 3000));
    EXPECT_EQ(seeked.received[0].arguments().value(0).toLongLong(), 6'500'000);
    EXPECT_EQ(seeked.received[1].arguments().value(0).toLongLong(), 0);
}

TEST_F(MprisServiceTest, SetPositionIgnoresOtherTracksAndPointsOutsideTheTrack)
{
    fake.PlayTrack(7, 10'000'000);
    const auto path = [](int64_t id) { return QVariant::fromValue(QDBusObjectPath(TrackPath(id))); };
    Call("SetPosition", {path(8), qlonglong(1'000'000)});
    Call("SetPosition", {path(7), qlonglong(-1)});
    Call("SetPosition", {path(7), qlonglong(10'000'001)});
    Call("SetPosition", {path(7), qlonglong(3'000'000)});
    fake.status = PlaybackStatus::Stopped;
    Call("SetPosition", {path(7), qlonglong(2'000'000)});
    EXPECT_EQ(fake.log, std::vector<std::string>{"setPosition 3000000"});
}

TEST_F(MprisServiceTest, MetadataCarriesTheTypesTheInterfaceNames)
{
    EXPECT_EQ(Map(Get("Metadata")).value("mpris:trackid").value<QDBusObjectPath>().path(), kNoTrackPath);

    fake.PlayTrack(42, 183'000'000);
    const QVariantMap metadata = Map(Get("Metadata"));
    EXPECT_EQ(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(), TrackPath(42));
    EXPECT_EQ(metadata.value("mpris:length").userType(), QMetaType::LongLong);
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 183'000'000);
    EXPECT_EQ(metadata.value("xesam:title").toString(), "Song 42");
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(), QStringList{"Artist"});
    EXPECT_EQ(metadata.value("xesam:album").toString(), "Album");
    EXPECT_EQ(metadata.value("xesam:url").toString(), "file:///music/a%20b.mp3");
    EXPECT_EQ(Get("PlaybackStatus").toString(), "Playing");
    EXPECT_TRUE(Get("CanSeek").toBool());
}

TEST_F(MprisServiceTest, VolumeIsTheOnlyPropertyThatCanBeSet)
{
    const QString properties = "org.freedesktop.DBus.Properties";
    const auto set = [&](const QString& name, const QVariant& value) {
        return Call("Set", {kPlayerInterface, name, QVariant::fromValue(QDBusVariant(value))}, properties);
    };
    EXPECT_EQ(set("Volume", 1.7).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(set("Volume", 0.25).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(set("PlaybackStatus", "Playing").type(), QDBusMessage::ErrorMessage);
    const std::vector<std::string> expected = {"setVolume 1.000000", "setVolume 0.250000"};
    EXPECT_EQ(fake.log, expected);
    EXPECT_DOUBLE_EQ(Get("Volume").toDouble(), 0.25);
}

TEST_F(MprisServiceTest, PropertiesChangedNamesOnlyWhatChanged)
{
    BusSignals changes(client, kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    service->Refresh();  // nothing changed since the start
    fake.PlayTrack(1, 5'000'000);
    service->Refresh();
    fake.positionUs = 1'000'000;  // position is never signalled
    service->Refresh();
    fake.status = PlaybackStatus::Paused;
    service->Refresh();

    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.received.size() >= 2; }, 3000));
    QTest::qWait(100);
    ASSERT_EQ(changes.received.size(), 2u);
    const QVariantMap first = Map(changes.received[0].arguments().value(1));
    EXPECT_EQ(changes.received[0].arguments().value(0).toString(), kPlayerInterface);
    EXPECT_EQ(QStringList(first.keys()),
              (QStringList{"CanPause", "CanSeek", "Metadata", "PlaybackStatus"}));
    EXPECT_EQ(first.value("PlaybackStatus").toString(), "Playing");
    EXPECT_EQ(Map(first.value("Metadata")).value("xesam:title").toString(), "Song 1");
    const QVariantMap second = Map(changes.received[1].arguments().value(1));
    EXPECT_EQ(QStringList(second.keys()), QStringList{"PlaybackStatus"});
}

TEST_F(MprisServiceTest, OpenUriTakesLocalFilesOnly)
{
    EXPECT_EQ(Call("OpenUri", {"file:///music/caf%C3%A9%20bar.ogg"}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(Call("OpenUri", {"https://example.org/stream.mp3"}).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(fake.log, std::vector<std::string>{"open /music/café bar.ogg"});
}

TEST_F(MprisServiceTest, RootMethodsRaiseAndQuitOnTheGuiThread)
{
    Call("Raise", {}, kRootInterface);
    Call("Quit", {}, kRootInterface);
    EXPECT_EQ(fake.log, (std::vector<std::string>{"raise", "quit"}));
    EXPECT_TRUE(fake.onGuiThread);
    EXPECT_EQ(Call("Fly", {}, kRootInterface).type(), QDBusMessage::ErrorMessage);
}

TEST(MprisServiceWithoutBus, StartFailsAndSaysWhy)
{
    FakePlayer fake;
    MprisService service(fake.Controls(), {});
    EXPECT_FALSE(service.Start(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nowhere")));
    EXPECT_FALSE(service.IsStarted());
    EXPECT_FALSE(service.Error().isEmpty());
    service.Refresh();  // harmless
    QDBusConnection::disconnectFromBus("nowhere");
}

}  // namespace
