#pragma once

#include <QDBusConnection>
#include <QPoint>
#include <QPointer>
#include <string>
#include <vector>

#include "core/Value.h"
#include "desktop/MediaPlayerControls.h"
#include "desktop/MprisService.h"
#include "desktop/TrayIcon.h"

class GridCtrl;
class Player;
class UrlDrop;

// Joins the window to the desktop: the media-player service on the session
// bus, "To tray", files dropped from a file manager and files handed over on
// the command line. Every remote command calls the window's own operation.
// Lives on the GUI thread, from after the window is built until before it is
// destroyed.
class DesktopLink {
public:
    // Without a usable bus the player runs as before; the log gets one line.
    DesktopLink(Player& player, const QDBusConnection& bus);
    ~DesktopLink();
    DesktopLink(const DesktopLink&) = delete;
    DesktopLink& operator=(const DesktopLink&) = delete;

    // Appends files, folders and playlist files to the current playlist and
    // plays the first track added.
    void Open(const std::vector<String>& paths);
    // The same from the window's own loop, once the caller has returned: adding
    // may ask questions in message boxes. Nothing happens when the link is gone by then.
    void OpenLater(std::vector<String> paths);
    // Brings the window to the front, from the tray or minimised.
    void Raise() { tray_.ShowWindow(); }

    // Files dropped onto a track grid go in at the row under the drop point,
    // or after the last row below it.
    void DropOnTracks(GridCtrl& tracks, const std::vector<String>& paths, QPoint viewportPos);
    // Every folder or playlist file dropped onto the playlists grid becomes a new playlist.
    void DropOnLists(const std::vector<String>& paths);

    MprisService& Bus() { return mpris_; }
    TrayIcon& Tray() { return tray_; }

private:
    MediaPlayerControls Controls();
    TrackMetadata PlayingTrack() const;
    GridCtrl* ListToPlay() const;
    void PlaybackChanged();
    void AcceptDrops(GridCtrl& grid, bool tracks);

    Player& player_;
    MprisService mpris_;
    TrayIcon tray_;
    std::vector<QPointer<UrlDrop>> drops_;
};
