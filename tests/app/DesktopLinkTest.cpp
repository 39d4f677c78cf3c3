#include <QDBusArgument>
#include <QDBusVariant>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "PlayerFixture.h"
#include "app/DesktopLink.h"
#include "app/Language.h"
#include "library/LibraryGrids.h"
#include "support/PrivateBus.h"
#include "support/WaitForAdds.h"

namespace {

constexpr const char* kTone = QP_FIXTURES "/tone.mp3";
constexpr const char* kToneOgg = QP_FIXTURES "/tone.ogg";
constexpr const char* kToneWav = QP_FIXTURES "/tone.wav";
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

std::vector<String> Column(GridCtrl& grid, int column)
{
    std::vector<String> texts;
    for (int row = 0; row < grid.GetCount(); ++row)
        texts.push_back(grid.Get(row, column).ToString());
    return texts;
}

int HighlightedRows(const GridCtrl& list)
{
    int count = 0;
    for (int row = 0; row < list.GetCount(); ++row) {
        const GridRowStyle* style = list.GetRowStyle(row);
        count += style && style->background == QColor(255, 255, 0);
    }
    return count;
}

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 5000);
}

// The player window joined to a private session bus, with a client connection
// that calls it the way a desktop's media keys or a sound menu would.
class DesktopLinkTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        QP_REQUIRE_PRIVATE_BUS(bus);
        player = std::make_unique<Player>();
        link = std::make_unique<DesktopLink>(*player, bus.Connect("player"));
        ASSERT_TRUE(link->Bus().IsStarted()) << link->Bus().Error().toStdString();
        client = bus.Connect("client");
    }
    void TearDown() override
    {
        link.reset();
        player.reset();
        PlayerTest::TearDown();
    }

    // The selected playlist's grid, filled with one row per file; ids count from 100.
    GridCtrl& Fill(const std::vector<std::string>& files)
    {
        GridCtrl& list = player->CurrentTrackList();
        for (size_t i = 0; i < files.size(); ++i) {
            const int id = 100 + static_cast<int>(i);
            list.Add({Value(id), Value(files[i]), Value("Track " + std::to_string(id)), Value(), Value(), Value()});
        }
        list.SetCursor(0);
        return list;
    }

    // Lets the current track run to its end soon.
    void NearEnd() { player->Engine().SetPositionPercent(90.0f); }

    QDBusMessage Call(const QString& member, const QVariantList& args = {},
                      const QString& interface = kPlayerInterface)
    {
        return CallAndWait(client, link->Bus().ServiceName(), kObjectPath, interface, member, args);
    }
    QVariant Get(const QString& name)
    {
        const QDBusMessage reply = Call("Get", {kPlayerInterface, name}, kProperties);
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QVariantMap Metadata()
    {
        QVariantMap map;
        Get("Metadata").value<QDBusArgument>() >> map;
        return map;
    }

    // What a user sees of the playback state.
    std::string Snapshot()
    {
        GridCtrl& list = player->CurrentTrackList();
        return std::to_string(player->Started()) + " paused=" + std::to_string(player->Engine().IsPaused()) +
               " id=" + std::to_string(player->PlayingId()) + " cursor=" + std::to_string(list.GetCursor()) +
               " lit=" + std::to_string(HighlightedRows(list)) + " title=" + player->info.GetTitle();
    }

    PrivateBus bus;
    std::unique_ptr<Player> player;
    std::unique_ptr<DesktopLink> link;
    QDBusConnection client{QStringLiteral("none")};
};

TEST_F(DesktopLinkTest, BusCommandsChangeThePlayerExactlyAsTheButtonsDo)
{
    GridCtrl& list = Fill({kTone, kToneOgg, kToneWav});
    const std::vector<std::pair<QPushButton*, QString>> steps = {
        {&player->play, "PlayPause"}, {&player->play, "PlayPause"}, {&player->play, "PlayPause"},
        {&player->next, "Next"},      {&player->next, "Next"},      {&player->next, "Next"},
        {&player->prev, "Previous"},  {&player->stop, "Stop"},      {&player->play, "PlayPause"}};

    std::vector<std::string> byButtons, byBus;
    for (const auto& step : steps) {
        step.first->click();
        byButtons.push_back(Snapshot());
    }
    // Back to the first row, stopped, as before the first click.
    player->StopPlayback();
    list.SetCursor(0);
    for (const auto& step : steps) {
        Call(step.second);
        byBus.push_back(Snapshot());
    }
    EXPECT_EQ(byBus, byButtons);
    EXPECT_EQ(Get("PlaybackStatus").toString(), "Playing");
    EXPECT_EQ(Metadata().value("xesam:title").toString(), "Track 101");
}

TEST_F(DesktopLinkTest, SeekAndSetPositionMoveTheTrackAsThePositionBarDoes)
{
    static constexpr const char* kLong = QP_FIXTURES "/long.ogg";
    GridCtrl& list = Fill({kLong});
    list.Set(0, TRACK_LENGTH, 4000);
    BusSignals seeked(client, kObjectPath, kPlayerInterface, "Seeked");
    Call("Play");
    Call("Pause");

    const QVariant track = QVariant::fromValue(QDBusObjectPath(TrackPath(100)));
    Call("SetPosition", {track, qlonglong(2'000'000)});
    EXPECT_NEAR(player->position.Get(), 50.0f, 0.5f);
    EXPECT_NEAR(player->Engine().GetPositionMs(), 2000, 60);
    Call("Seek", {qlonglong(1'000'000)});
    EXPECT_NEAR(player->Engine().GetPositionMs(), 3000, 60);
    EXPECT_NEAR(Get("Position").toLongLong(), 3'000'000, 60'000);

    // A seek made with the bar is announced too.
    player->position.Set(25.0f);
    player->position.WhenAction();
    EXPECT_NEAR(player->Engine().GetPositionMs(), 1000, 60);
    ASSERT_TRUE(WaitFor([&] { return seeked.received.size() == 3; }));
    EXPECT_NEAR(seeked.received[2].arguments().value(0).toLongLong(), 1'000'000, 60'000);
    EXPECT_TRUE(player->Engine().IsPaused());
}

TEST_F(DesktopLinkTest, MetadataAndStatusFollowTheTrackAndTheEndOfTheList)
{
    Fill({kTone, kTone});
    BusSignals changes(client, kObjectPath, kProperties, "PropertiesChanged");
    const auto lastChange = [&](const QString& key) {
        for (auto it = changes.received.rbegin(); it != changes.received.rend(); ++it) {
            QVariantMap changed;
            it->arguments().value(1).value<QDBusArgument>() >> changed;
            if (changed.contains(key))
                return changed.value(key);
        }
        return QVariant();
    };

    Call("PlayPause");
    EXPECT_EQ(Metadata().value("xesam:title").toString(), "Track 100");
    EXPECT_EQ(Metadata().value("xesam:url").toString(), QUrl::fromLocalFile(kTone).toString());
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return player->PlayingId() == 101; }));
    EXPECT_EQ(Metadata().value("xesam:title").toString(), "Track 101");
    NearEnd();
    ASSERT_TRUE(WaitFor([&] { return !player->Started(); }));
    EXPECT_EQ(Get("PlaybackStatus").toString(), "Stopped");
    // As the now-playing panel, the metadata keeps the last track after the end of the list.
    EXPECT_EQ(Metadata().value("xesam:title").toString(), "Track 101");

    ASSERT_TRUE(WaitFor([&] { return lastChange("PlaybackStatus").toString() == "Stopped"; }));
    QVariantMap metadata;
    lastChange("Metadata").value<QDBusArgument>() >> metadata;
    EXPECT_EQ(metadata.value("xesam:title").toString(), "Track 101");

    Call("Stop");
    EXPECT_EQ(Metadata().value("mpris:trackid").value<QDBusObjectPath>().path(), kNoTrackPath);
}

TEST_F(DesktopLinkTest, VolumeFromTheBusMovesTheBar)
{
    BusSignals changes(client, kObjectPath, kProperties, "PropertiesChanged");
    Call("Set", {kPlayerInterface, "Volume", QVariant::fromValue(QDBusVariant(0.3))}, kProperties);
    EXPECT_FLOAT_EQ(player->volume.Get(), 30.0f);
    EXPECT_NEAR(player->Engine().GetVolume(), 30.0f, 0.01);
    ASSERT_TRUE(WaitFor([&] { return !changes.received.empty(); }));
}

TEST_F(DesktopLinkTest, OpenedFilesFoldersAndPlaylistsAreAppendedAndTheFirstPlays)
{
    TempDir music;
    std::filesystem::create_directories(music.Path() / "album");
    std::filesystem::copy_file(kToneOgg, music.File("album/1.ogg"));
    std::filesystem::copy_file(kToneWav, music.File("album/2.wav"));
    std::ofstream(music.File("mix.m3u")) << "#EXTM3U\nalbum/2.wav\ngone.ogg\n";
    GridCtrl& list = Fill({kTone});

    link->Open({kToneWav, music.File("album"), music.File("mix.m3u")});
    WaitForAdds(player->library);
    ASSERT_EQ(list.GetCount(), 5);
    EXPECT_EQ(Column(list, TRACK_FILE), (std::vector<String>{kTone, kToneWav, music.File("album/1.ogg"),
                                                             music.File("album/2.wav"), music.File("album/2.wav")}));
    // The playlist's missing entry is named in the add's one message.
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(promptDetails[0].find("gone.ogg"), std::string::npos) << promptDetails[0];
    EXPECT_TRUE(player->Started());
    EXPECT_EQ(list.GetCursor(), 1);
    EXPECT_EQ(player->PlayingId(), list.Get(1, TRACK_ID).ToInt());
}

TEST_F(DesktopLinkTest, DroppedFilesGoInAtTheDropRowOrBelowTheLastRow)
{
    GridCtrl& list = Fill({kTone, kToneOgg});
    player->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(player.get()));
    const auto drop = [](QWidget* target, QPoint at, const std::vector<QString>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
    };

    drop(list.viewport(), list.GetCellRect(1, TRACK_TITLE).center(), {kToneWav});
    ASSERT_TRUE(WaitFor([&] { return list.GetCount() == 3; }));
    EXPECT_EQ(Column(list, TRACK_FILE), (std::vector<String>{kTone, kToneWav, kToneOgg}));

    drop(list.viewport(), QPoint(10, list.viewport()->height() - 2), {kToneWav});
    ASSERT_TRUE(WaitFor([&] { return list.GetCount() == 4; }));
    EXPECT_EQ(list.Get(3, TRACK_FILE).ToString(), kToneWav);

    // Each folder or playlist file dropped on the playlists becomes a playlist
    // named after it; a plain music file makes none.
    TempDir music;
    std::filesystem::create_directories(music.Path() / "Vol. 2");
    std::filesystem::copy_file(kToneOgg, music.File("Vol. 2/a.ogg"));
    std::ofstream(music.File("Night mix.m3u8")) << "Vol. 2/a.ogg\n" << kToneWav << "\n";
    const int lists = player->ListGrid.GetCount();
    drop(player->ListGrid.viewport(), QPoint(10, 30),
         {QString::fromStdString(music.File("Vol. 2")), kToneWav, QString::fromStdString(music.File("Night mix.m3u8"))});
    ASSERT_TRUE(WaitFor([&] { return player->ListGrid.GetCount() == lists + 2; }));
    EXPECT_EQ(player->ListGrid.Get(lists, LIST_NAME).ToString(), "Vol. 2");
    EXPECT_EQ(player->ListGrid.Get(lists + 1, LIST_NAME).ToString(), "Night mix");
    WaitForAdds(player->library);
    EXPECT_EQ(Column(player->CurrentTrackList(), TRACK_FILE), (std::vector<String>{music.File("Vol. 2/a.ogg"), kToneWav}));
}

TEST_F(DesktopLinkTest, ExitFromTheTrayEndsTheRunAsExitDoes)
{
    link->Tray().isTrayAvailable = [] { return true; };
    QTimer::singleShot(0, player.get(), [this] {
        player->totray.click();
        EXPECT_FALSE(player->isVisible());
        EXPECT_TRUE(link->Tray().IsInTray());
        QAction* exit = link->Tray().Menu()->actions().back();
        EXPECT_EQ(exit->text(), "Exit");
        exit->trigger();
    });
    QTimer::singleShot(3000, player.get(), [this] { player->Break(-1); });
    EXPECT_EQ(player->Run(), TopWindow::IDCANCEL);
}

TEST_F(DesktopLinkTest, TheTrayMenuFollowsALanguageSwitch)
{
    link->Tray().isTrayAvailable = [] { return true; };
    player->show();
    player->totray.click();
    ASSERT_NE(link->Tray().Menu(), nullptr);
    const auto entries = [this] {
        std::vector<std::string> texts;
        for (QAction* entry : link->Tray().Menu()->actions())
            if (!entry->isSeparator())
                texts.push_back(entry->text().toStdString());
        return texts;
    };
    EXPECT_EQ(entries(), (std::vector<std::string>{"Play/Pause", "Stop", "Previous", "Next", "Show", "Exit"}));
    SwitchLanguage(LanguageChoice::Polish);
    const std::vector<std::string> polish = entries();
    SwitchLanguage(LanguageChoice::English);
    const std::vector<std::string> english = entries();
    SetLanguageChoice(LanguageChoice::None);
    EXPECT_EQ(polish, (std::vector<std::string>{"Odtwórz/Wstrzymaj", "Zatrzymaj", "Poprzedni", "Następny",
                                                "Pokaż okno", "Zakończ"}));
    EXPECT_EQ(english, (std::vector<std::string>{"Play/Pause", "Stop", "Previous", "Next", "Show", "Exit"}));
    // The entries still act after the switch.
    link->Tray().Menu()->actions()[5]->trigger();
    EXPECT_TRUE(player->isVisible());
}

TEST_F(PlayerTest, WithoutASessionBusThePlayerRunsAsBefore)
{
    // A connection to nowhere stands for a console without a bus.
    Player player;
    {
        DesktopLink link(player, QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nowhere"));
        EXPECT_FALSE(link.Bus().IsStarted());
        EXPECT_EQ(RunWhile(player, [&player] { player.exit.click(); }), TopWindow::IDCANCEL);
    }
    QDBusConnection::disconnectFromBus("nowhere");
}

TEST(CommandLineExit, OptionsEndTheProgramWithTheirCodes)
{
    const auto run = [](const QStringList& args, QByteArray* out, QByteArray* err) {
        QProcess process;
        process.start(QP_EXECUTABLE, args);
        EXPECT_TRUE(process.waitForFinished(10000));
        *out = process.readAllStandardOutput();
        *err = process.readAllStandardError();
        return process.exitCode();
    };
    QByteArray out, err;
    EXPECT_EQ(run({"--frobnicate"}, &out, &err), 2);
    EXPECT_TRUE(err.contains("unknown option: --frobnicate")) << err.toStdString();
    EXPECT_TRUE(err.contains("Usage:"));
    EXPECT_EQ(run({"-style", "fusion"}, &out, &err), 2);
    EXPECT_EQ(run({"--help"}, &out, &err), 0);
    EXPECT_TRUE(out.startsWith("Usage: quillon-player")) << out.toStdString();
    EXPECT_EQ(run({"--version"}, &out, &err), 0);
    EXPECT_EQ(out, "Quillon Player 1.01\n");
}

}  // namespace
