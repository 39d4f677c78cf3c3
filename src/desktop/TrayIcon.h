#pragma once

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

class QWidget;

// "To tray": the window hides behind a notification-area icon whose menu
// controls playback; a click on the icon brings the window back. Where the
// desktop has no notification area the window is minimised instead.
class TrayIcon {
public:
    struct Actions {
        std::function<void()> playPause;
        std::function<void()> stop;
        std::function<void()> previous;
        std::function<void()> next;
        // Ends the program as the window's "Exit" does.
        std::function<void()> exit;
    };

    TrayIcon(QWidget& window, QIcon icon, Actions actions);
    ~TrayIcon();

    // Hides the window to the tray, or minimises it without a tray. Returns
    // true when the window went to the tray.
    bool HideWindow();
    // Shows the window again, raised and active, and removes the icon.
    void ShowWindow();
    bool IsInTray() const { return icon_ && icon_->isVisible(); }

    // The tooltip: the program's name, and the title that plays.
    void SetPlayingTitle(const QString& title);
    QString ToolTip() const { return toolTip_; }

    // The menu the icon shows; built once, when the icon is first needed.
    QMenu* Menu() { return menu_.get(); }

    // Overrides the desktop's answer, for tests; by default the desktop is asked.
    std::function<bool()> isTrayAvailable;

private:
    void Create();

    QWidget& window_;
    QIcon iconImage_;
    Actions actions_;
    QString toolTip_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};
