#include "desktop/MprisProperties.h"

#include <QDBusObjectPath>
#include <QUrl>

namespace {

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

// Without a callback a control counts as absent: nothing to call, so it cannot act.
template <class T, class F>
T Read(const F& getter, T fallback)
{
    return getter ? getter() : fallback;
}

}  // namespace

QString TrackPath(int64_t id)
{
    if (id < 0)
        return kNoTrackPath;
    return QStringLiteral("/org/mpris/MediaPlayer2/quillon/track/%1").arg(id);
}

QString StatusText(PlaybackStatus status)
{
    switch (status) {
    case PlaybackStatus::Playing: return QStringLiteral("Playing");
    case PlaybackStatus::Paused: return QStringLiteral("Paused");
    case PlaybackStatus::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MetadataMap(const TrackMetadata& track)
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackPath(track.id))));
    if (track.id < 0)
        return map;
    if (track.lengthUs > 0)
        map.insert(QStringLiteral("mpris:length"), qlonglong(track.lengthUs));
    map.insert(QStringLiteral("xesam:title"), Text(track.title));
    if (!track.artist.empty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{Text(track.artist)});
    if (!track.album.empty())
        map.insert(QStringLiteral("xesam:album"), Text(track.album));
    if (!track.path.empty())
        map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(Text(track.path)).toString(QUrl::FullyEncoded));
    return map;
}

QVariantMap RootProperties(const MediaPlayerIdentity& identity)
{
    return {
        {QStringLiteral("CanQuit"), true},
        {QStringLiteral("CanRaise"), true},
        {QStringLiteral("CanSetFullscreen"), false},
        {QStringLiteral("Fullscreen"), false},
        {QStringLiteral("HasTrackList"), false},
        {QStringLiteral("Identity"), identity.identity},
        {QStringLiteral("DesktopEntry"), identity.desktopEntry},
        {QStringLiteral("SupportedUriSchemes"), QStringList{QStringLiteral("file")}},
        {QStringLiteral("SupportedMimeTypes"), identity.mimeTypes},
    };
}

QVariantMap SignalledPlayerProperties(const MediaPlayerControls& c)
{
    const PlaybackStatus status = Read(c.status, PlaybackStatus::Stopped);
    const bool active = status != PlaybackStatus::Stopped;
    return {
        {QStringLiteral("PlaybackStatus"), StatusText(status)},
        {QStringLiteral("Rate"), 1.0},
        {QStringLiteral("MinimumRate"), 1.0},
        {QStringLiteral("MaximumRate"), 1.0},
        {QStringLiteral("Metadata"), MetadataMap(Read(c.track, TrackMetadata{}))},
        {QStringLiteral("Volume"), Read(c.volume, 0.0)},
        {QStringLiteral("CanGoNext"), Read(c.canGoNext, false)},
        {QStringLiteral("CanGoPrevious"), Read(c.canGoPrevious, false)},
        {QStringLiteral("CanPlay"), Read(c.canPlay, false)},
        {QStringLiteral("CanPause"), active},
        {QStringLiteral("CanSeek"), active},
        {QStringLiteral("CanControl"), true},
    };
}

QVariantMap PlayerProperties(const MediaPlayerControls& c)
{
    QVariantMap map = SignalledPlayerProperties(c);
    map.insert(QStringLiteral("Position"), qlonglong(Read(c.positionUs, int64_t(0))));
    return map;
}

QVariantMap ChangedProperties(const QVariantMap& before, const QVariantMap& now)
{
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend() || old.value() != it.value())
            changed.insert(it.key(), it.value());
    }
    return changed;
}
