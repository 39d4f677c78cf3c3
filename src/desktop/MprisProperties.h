#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "desktop/MediaPlayerControls.h"

// The properties the player publishes on the session bus, read from its
// controls. Values carry the bus types the media-player interfaces expect:
// object paths for track ids, 64-bit integers for microseconds, string lists
// for artists.

inline const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kNoTrackPath = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// Fixed facts about the application for the root interface.
struct MediaPlayerIdentity {
    QString identity;
    QString desktopEntry;
    QStringList mimeTypes;
};

// The object path naming a track on the bus.
QString TrackPath(int64_t id);

// "Playing", "Paused" or "Stopped".
QString StatusText(PlaybackStatus status);

// The metadata map of a track; only the track id for no track.
QVariantMap MetadataMap(const TrackMetadata& track);

QVariantMap RootProperties(const MediaPlayerIdentity& identity);

// Every property of the player interface. Position is read at the moment of
// the call; the bus never signals its changes, only jumps (Seeked).
QVariantMap PlayerProperties(const MediaPlayerControls& controls);

// The player properties whose changes are signalled: all but Position.
QVariantMap SignalledPlayerProperties(const MediaPlayerControls& controls);

// The entries of `now` that are missing from `before` or differ from it.
QVariantMap ChangedProperties(const QVariantMap& before, const QVariantMap& now);
