#include <QApplication>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include "desktop/DesktopIcon.h"
#include "desktop/MediaTypes.h"
#include "desktop/TrayIcon.h"
#include "desktop/UrlDrop.h"
#include "support/ReadFile.h"

namespace {

// The value of one key of the launcher entry's main group.
QString EntryValue(const QString& key)
{
    const QString text = QString::fromStdString(ReadFile(QP_DESKTOP_FILE));
    for (const QString& line : text.split('\n'))
        if (line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    return {};
}

TEST(DesktopEntry, OffersExactlyTheTypesTheBusAnnounces)
{
    QStringList offered = EntryValue("MimeType").split(';', Qt::SkipEmptyParts);
    QStringList announced = SupportedMimeTypes();
    offered.sort();
    announced.sort();
    EXPECT_EQ(offered, announced);
    EXPECT_EQ(EntryValue("GenericName"), "Music Player");
    EXPECT_EQ(EntryValue("Categories"), "AudioVideo;Audio;Player;Qt;");
    EXPECT_TRUE(EntryValue("Exec").endsWith("quillon-player\" %U"));
    EXPECT_EQ(EntryValue("Icon"), kDesktopEntryName);
}

TEST(DesktopEntry, TheWindowIconHasEveryInstalledSize)
{
    const QIcon icon = DesktopIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256})
        EXPECT_EQ(icon.pixmap(size).size(), QSize(size, size)) << size;
}

TEST(UrlDrop, TakesLocalFilesOnly)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/music/a b.mp3"), QUrl("https://example.org/x.mp3"),
                  QUrl::fromLocalFile("/music/folder")});
    EXPECT_EQ(UrlDrop::LocalPaths(&data), (std::vector<std::string>{"/music/a b.mp3", "/music/folder"}));
    QMimeData text;
    text.setText("/music/a.mp3");
    EXPECT_TRUE(UrlDrop::LocalPaths(&text).empty());
}

class TrayIconTest : public testing::Test {
protected:
    QWidget window;
    std::vector<std::string> log;
};

TEST_F(TrayIconTest, WithoutANotificationAreaTheWindowIsMinimised)
{
    window.show();
    TrayIcon tray(window, DesktopIcon(), {});
    tray.isTrayAvailable = [] { return false; };
    EXPECT_FALSE(tray.HideWindow());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(tray.IsInTray());
}

TEST_F(TrayIconTest, TheMenuControlsPlaybackAndShowBringsTheWindowBack)
{
    window.show();
    TrayIcon tray(window, DesktopIcon(),
                  TrayIcon::Actions{[this] { log.push_back("playPause"); }, [this] { log.push_back("stop"); },
                                    [this] { log.push_back("previous"); }, [this] { log.push_back("next"); },
                                    [this] { log.push_back("exit"); }});
    tray.isTrayAvailable = [] { return true; };
    EXPECT_TRUE(tray.HideWindow());
    EXPECT_FALSE(window.isVisible());

    QStringList texts;
    for (QAction* action : tray.Menu()->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Play/Pause", "Stop", "Previous", "Next", "Show", "Exit"}));
    for (QAction* action : tray.Menu()->actions())
        if (action->text() != "Show" && action->text() != "Exit")
            action->trigger();
    EXPECT_EQ(log, (std::vector<std::string>{"playPause", "stop", "previous", "next"}));

    tray.SetPlayingTitle("Blue Monday");
    EXPECT_EQ(tray.ToolTip(), "Blue Monday — Quillon Player");
    tray.SetPlayingTitle({});
    EXPECT_EQ(tray.ToolTip(), "Quillon Player");

    tray.Menu()->actions()[5]->trigger();  // Show
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(tray.IsInTray());
}

}  // namespace
