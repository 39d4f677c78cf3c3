#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QVariantMap>

#include "desktop/MediaPlayerControls.h"
#include "desktop/MprisProperties.h"

// The player's remote control on the session bus: the media-player root and
// player interfaces at /org/mpris/MediaPlayer2 under the name
// org.mpris.MediaPlayer2.quillon. Commands call the window's own operations
// through MediaPlayerControls; the service keeps no playback state of its own,
// only the last published property values so it can tell the bus what changed.
//
// Thread: bus messages are delivered to this object on the GUI thread (the
// thread it lives on), where the controls may be called.
class MprisService : public QDBusVirtualObject {
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.quillon";

    MprisService(MediaPlayerControls controls, MediaPlayerIdentity identity);
    ~MprisService() override;

    // Registers the object and takes the bus name. A second player on the same
    // bus takes the name with ".instance<pid>" appended, as the interface
    // asks. False, with Error() saying why, when the bus cannot be used.
    bool Start(const QDBusConnection& connection);
    bool IsStarted() const { return started_; }
    QString ServiceName() const { return serviceName_; }
    QString Error() const { return error_; }

    // Publishes what changed since the last call (PropertiesChanged); the
    // window calls it after anything that may change the playback state.
    void Refresh();
    // Tells the bus the position jumped (Seeked); also after a seek made in the window.
    void NotifySeeked();

    // ---- QDBusVirtualObject
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    // Each returns the reply to send.
    QDBusMessage CallRoot(const QDBusMessage& message);
    QDBusMessage CallPlayer(const QDBusMessage& message);
    QDBusMessage CallProperties(const QDBusMessage& message);

    QDBusMessage Seek(const QDBusMessage& message, int64_t offsetUs);
    QDBusMessage SetPosition(const QDBusMessage& message, const QString& trackPath, int64_t positionUs);
    QDBusMessage OpenUri(const QDBusMessage& message, const QString& uri);
    QDBusMessage SetProperty(const QDBusMessage& message, const QString& interface, const QString& name,
                             const QVariant& value);

    void Emit(const QString& interface, const QString& member, const QVariantList& arguments);

    MediaPlayerControls controls_;
    MediaPlayerIdentity identity_;
    QDBusConnection connection_;
    QString serviceName_;
    QString error_;
    bool started_ = false;
    QVariantMap published_;
};
