#include "app/DesktopLink.h"

#include <QTimer>
#include <filesystem>

#include "app/Player.h"
#include "data/Log.h"
#include "desktop/DesktopIcon.h"
#include "desktop/MediaTypes.h"
#include "desktop/UrlDrop.h"
#include "library/LibraryGrids.h"
#include "playlists/Playlist.h"

namespace {

std::vector<String> ToStrings(const std::vector<std::string>& paths)
{
    return {paths.begin(), paths.end()};
}

}  // namespace

DesktopLink::DesktopLink(Player& player, const QDBusConnection& bus)
    : player_(player),
      mpris_(Controls(), MediaPlayerIdentity{QStringLiteral("Quillon Player"), QString::fromLatin1(kDesktopEntryName),
                                              SupportedMimeTypes()}),
      tray_(player, DesktopIcon(),
            TrayIcon::Actions{[&player] { player.Play(); }, [&player] { player.StopPlayback(); },
                              [&player] { player.PlayPrevious(); }, [&player] { player.PlayNext(); },
                              [&player] { player.Close(); }})
{
    player_.setWindowIcon(DesktopIcon());
    if (!mpris_.Start(bus))
        MainLog() << "Media keys and the desktop's player controls are off: " << mpris_.Error().toStdString()
                  << "\n";

    player_.playback.WhenChanged = [this] { PlaybackChanged(); };
    // A seek or a volume change made in the window is told to the bus as well.
    auto seek = std::move(player_.position.WhenAction);
    player_.position.WhenAction = [this, seek] {
        if (seek)
            seek();
        mpris_.NotifySeeked();
    };
    auto volume = std::move(player_.volume.WhenAction);
    player_.volume.WhenAction = [this, volume] {
        if (volume)
            volume();
        mpris_.Refresh();
    };
    QObject::connect(&player_.totray, &QPushButton::clicked, &player_, [this] { tray_.HideWindow(); });

    AcceptDrops(player_.ListGrid, false);
    for (auto& tracks : player_.TrackLists)
        AcceptDrops(*tracks, true);
    player_.library.WhenTrackListMade = [this](GridCtrl& tracks) { AcceptDrops(tracks, true); };
}

DesktopLink::~DesktopLink()
{
    for (const QPointer<UrlDrop>& drop : drops_)
        delete drop.data();
    player_.playback.WhenChanged = nullptr;
    player_.library.WhenTrackListMade = nullptr;
}

MediaPlayerControls DesktopLink::Controls()
{
    Player& p = player_;
    MediaPlayerControls c;
    c.raise = [this] { Raise(); };
    c.quit = [&p] { p.Close(); };
    c.playPause = [&p] { p.Play(); };
    c.stop = [&p] { p.StopPlayback(); };
    c.next = [&p] { p.PlayNext(); };
    c.previous = [&p] { p.PlayPrevious(); };
    c.setPosition = [this, &p](int64_t us) {
        const TrackMetadata track = PlayingTrack();
        if (track.lengthUs <= 0)
            return;
        // The position bar released at that point.
        p.position.Set(static_cast<float>(100.0 * static_cast<double>(us) / static_cast<double>(track.lengthUs)));
        p.Seek();
    };
    c.setVolume = [&p](double volume) {
        p.volume.Set(static_cast<float>(volume * 100.0));
        p.VolumeChanged();
    };
    c.open = [this](const std::string& path) { Open({path}); };
    c.status = [&p] {
        if (!p.Started())
            return PlaybackStatus::Stopped;
        return p.Engine().IsPaused() ? PlaybackStatus::Paused : PlaybackStatus::Playing;
    };
    c.track = [this] { return PlayingTrack(); };
    c.positionUs = [&p] { return p.Started() ? int64_t(p.Engine().GetPositionMs()) * 1000 : int64_t(0); };
    c.volume = [&p] { return double(p.Engine().GetVolume()) / 100.0; };
    // Play, next and previous act whenever the list they would follow has rows.
    const auto hasRows = [this] {
        const GridCtrl* list = ListToPlay();
        return list && list->GetCount() > 0;
    };
    c.canPlay = hasRows;
    c.canGoNext = hasRows;
    c.canGoPrevious = hasRows;
    return c;
}

GridCtrl* DesktopLink::ListToPlay() const
{
    if (GridCtrl* followed = player_.PlayingList())
        return followed;
    return player_.ListGrid.IsCursor() ? &player_.CurrentTrackList() : nullptr;
}

TrackMetadata DesktopLink::PlayingTrack() const
{
    // What the now-playing panel shows: nothing after a stop, the last track
    // after the end of the list.
    if (player_.info.IsIdle() || !player_.PlayingList())
        return {};
    const int row = player_.FindPlayingRow();
    if (row < 0)
        return {};
    GridCtrl& list = *player_.PlayingList();
    TrackMetadata track;
    track.id = player_.PlayingId();
    track.lengthUs = int64_t(list.Get(row, TRACK_LENGTH).ToInt()) * 1000;
    track.title = list.Get(row, TRACK_TITLE).ToString();
    track.artist = list.Get(row, TRACK_ARTIST).ToString();
    track.album = list.Get(row, TRACK_ALBUM).ToString();
    track.path = list.Get(row, TRACK_FILE).ToString();
    return track;
}

void DesktopLink::PlaybackChanged()
{
    mpris_.Refresh();
    tray_.SetPlayingTitle(player_.Started() ? QString::fromStdString(PlayingTrack().title) : QString());
}

void DesktopLink::Open(const std::vector<String>& paths)
{
    if (paths.empty())
        return;
    GridCtrl& tracks = player_.CurrentTrackList();
    const int first = tracks.GetCount();
    // The add runs in the background; the player owns it, so it outlives this link.
    // The grid does too: an add whose playlist is deleted never ends here.
    Player& player = player_;
    player_.AddPaths(paths, true, [&player, &tracks, first] {
        if (tracks.GetCount() <= first)
            return;
        tracks.SetCursor(first);
        player.PlaySelected();
    });
}

void DesktopLink::OpenLater(std::vector<String> paths)
{
    if (!paths.empty())
        QTimer::singleShot(0, &mpris_, [this, paths = std::move(paths)] { Open(paths); });
}

void DesktopLink::DropOnTracks(GridCtrl& tracks, const std::vector<String>& paths, QPoint viewportPos)
{
    // Only the selected playlist's grid is on screen to take a drop.
    if (&tracks != &player_.CurrentTrackList())
        return;
    const int row = tracks.RowAtPoint(viewportPos);
    const bool append = row < 0;
    if (!append)
        tracks.SetCursor(row);
    player_.AddPaths(paths, append);
}

void DesktopLink::DropOnLists(const std::vector<String>& paths)
{
    for (const String& path : paths) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error) || PlaylistFormatOf(path) != PlaylistFormat::Unknown)
            player_.AddListFrom({path});
    }
}

void DesktopLink::AcceptDrops(GridCtrl& grid, bool tracks)
{
    // The filter is a child of the grid, so it goes when the grid goes; the
    // link removes the ones still there when it goes first.
    auto* drop = new UrlDrop({}, &grid);
    drop->SetHandler([this, drop, &grid, tracks](const std::vector<std::string>& paths, QPoint pos) {
        // Adding may open message boxes; a drop handler must return first so
        // the file manager is not left waiting.
        QTimer::singleShot(0, drop, [this, &grid, tracks, all = ToStrings(paths), pos] {
            if (tracks)
                DropOnTracks(grid, all, pos);
            else
                DropOnLists(all);
        });
    });
    drop->Watch(*grid.viewport());
    drops_.emplace_back(drop);
}
