#include "desktop/MprisService.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QUrl>
#include <algorithm>

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusMessage ErrorReply(const QDBusMessage& message, QDBusError::ErrorType type, const QString& text)
{
    return message.createErrorReply(type, text);
}

void Run(const std::function<void()>& action)
{
    if (action)
        action();
}

}  // namespace

MprisService::MprisService(MediaPlayerControls controls, MediaPlayerIdentity identity)
    : controls_(std::move(controls)), identity_(std::move(identity)),
      connection_(QStringLiteral("quillon-unconnected"))
{
}

MprisService::~MprisService()
{
    if (!started_)
        return;
    connection_.unregisterService(serviceName_);
    connection_.unregisterObject(kObjectPath);
}

bool MprisService::Start(const QDBusConnection& connection)
{
    connection_ = connection;
    if (!connection_.isConnected()) {
        const QDBusError error = connection_.lastError();
        error_ = error.isValid() ? error.message() : QStringLiteral("no session bus");
        return false;
    }
    if (!connection_.registerVirtualObject(kObjectPath, this)) {
        error_ = QStringLiteral("the object path is taken: ") + connection_.lastError().message();
        return false;
    }
    serviceName_ = QString::fromLatin1(kServiceName);
    if (!connection_.registerService(serviceName_)) {
        serviceName_ += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!connection_.registerService(serviceName_)) {
            error_ = QStringLiteral("the bus name is taken: ") + connection_.lastError().message();
            connection_.unregisterObject(kObjectPath);
            return false;
        }
    }
    started_ = true;
    published_ = SignalledPlayerProperties(controls_);
    return true;
}

void MprisService::Refresh()
{
    if (!started_)
        return;
    QVariantMap now = SignalledPlayerProperties(controls_);
    const QVariantMap changed = ChangedProperties(published_, now);
    published_ = std::move(now);
    if (!changed.isEmpty())
        Emit(kPropertiesInterface, QStringLiteral("PropertiesChanged"), {kPlayerInterface, changed, QStringList()});
}

void MprisService::NotifySeeked()
{
    if (started_ && controls_.positionUs)
        Emit(kPlayerInterface, QStringLiteral("Seeked"), {qlonglong(controls_.positionUs())});
}

void MprisService::Emit(const QString& interface, const QString& member, const QVariantList& arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, interface, member);
    signal.setArguments(arguments);
    connection_.send(signal);
}

bool MprisService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    if (message.type() != QDBusMessage::MethodCallMessage || message.path() != kObjectPath)
        return false;
    const QString interface = message.interface();
    QDBusMessage reply;
    if (interface == kPropertiesInterface)
        reply = CallProperties(message);
    else if (interface == kRootInterface)
        reply = CallRoot(message);
    else if (interface == kPlayerInterface)
        reply = CallPlayer(message);
    else if (interface.isEmpty()) {
        // A call without an interface names a method of either of ours.
        reply = CallPlayer(message);
        if (reply.type() == QDBusMessage::ErrorMessage && reply.errorName() == QDBusError::errorString(QDBusError::UnknownMethod))
            reply = CallRoot(message);
    } else
        return false;  // Introspectable and Peer are answered by the bus library
    if (message.isReplyRequired())
        connection.send(reply);
    return true;
}

QDBusMessage MprisService::CallRoot(const QDBusMessage& message)
{
    const QString member = message.member();
    if (member == QLatin1String("Raise"))
        Run(controls_.raise);
    else if (member == QLatin1String("Quit"))
        Run(controls_.quit);
    else
        return ErrorReply(message, QDBusError::UnknownMethod, QStringLiteral("No method %1").arg(member));
    return message.createReply();
}

QDBusMessage MprisService::CallPlayer(const QDBusMessage& message)
{
    const QString member = message.member();
    const QVariantList args = message.arguments();
    const PlaybackStatus status = controls_.status ? controls_.status() : PlaybackStatus::Stopped;
    if (member == QLatin1String("PlayPause"))
        Run(controls_.playPause);
    else if (member == QLatin1String("Play")) {
        if (status != PlaybackStatus::Playing)
            Run(controls_.playPause);
    } else if (member == QLatin1String("Pause")) {
        if (status == PlaybackStatus::Playing)
            Run(controls_.playPause);
    } else if (member == QLatin1String("Stop"))
        Run(controls_.stop);
    else if (member == QLatin1String("Next"))
        Run(controls_.next);
    else if (member == QLatin1String("Previous"))
        Run(controls_.previous);
    else if (member == QLatin1String("Seek") && args.size() == 1)
        return Seek(message, args[0].toLongLong());
    else if (member == QLatin1String("SetPosition") && args.size() == 2)
        return SetPosition(message, args[0].value<QDBusObjectPath>().path(), args[1].toLongLong());
    else if (member == QLatin1String("OpenUri") && args.size() == 1)
        return OpenUri(message, args[0].toString());
    else
        return ErrorReply(message, QDBusError::UnknownMethod, QStringLiteral("No method %1").arg(member));
    Refresh();
    return message.createReply();
}

QDBusMessage MprisService::Seek(const QDBusMessage& message, int64_t offsetUs)
{
    const TrackMetadata track = controls_.track ? controls_.track() : TrackMetadata{};
    const bool active = controls_.status && controls_.status() != PlaybackStatus::Stopped;
    if (!active || track.id < 0 || !controls_.setPosition || !controls_.positionUs)
        return message.createReply();
    const int64_t target = std::max<int64_t>(0, controls_.positionUs() + offsetUs);
    // Past the end means the next track, as the interface defines it.
    if (track.lengthUs > 0 && target >= track.lengthUs) {
        Run(controls_.next);
        Refresh();
        return message.createReply();
    }
    controls_.setPosition(target);
    NotifySeeked();
    return message.createReply();
}

QDBusMessage MprisService::SetPosition(const QDBusMessage& message, const QString& trackPath, int64_t positionUs)
{
    const TrackMetadata track = controls_.track ? controls_.track() : TrackMetadata{};
    const bool active = controls_.status && controls_.status() != PlaybackStatus::Stopped;
    // A request for another track, or outside this one, is ignored.
    if (!active || track.id < 0 || trackPath != TrackPath(track.id) || positionUs < 0 ||
        (track.lengthUs > 0 && positionUs > track.lengthUs) || !controls_.setPosition)
        return message.createReply();
    controls_.setPosition(positionUs);
    NotifySeeked();
    return message.createReply();
}

QDBusMessage MprisService::OpenUri(const QDBusMessage& message, const QString& uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile() || !controls_.open)
        return ErrorReply(message, QDBusError::NotSupported, QStringLiteral("Only file URIs can be opened: %1").arg(uri));
    controls_.open(url.toLocalFile().toStdString());
    Refresh();
    return message.createReply();
}

QDBusMessage MprisService::CallProperties(const QDBusMessage& message)
{
    const QString member = message.member();
    const QVariantList args = message.arguments();
    const QString interface = args.value(0).toString();
    const bool known = interface == kRootInterface || interface == kPlayerInterface;
    if (!known && !args.isEmpty())
        return ErrorReply(message, QDBusError::UnknownInterface, QStringLiteral("No interface %1").arg(interface));
    const auto all = [&] { return interface == kRootInterface ? RootProperties(identity_) : PlayerProperties(controls_); };

    if (member == QLatin1String("GetAll") && args.size() == 1)
        return message.createReply(QVariant(all()));
    if (member == QLatin1String("Get") && args.size() == 2) {
        const QVariantMap properties = all();
        const auto it = properties.constFind(args[1].toString());
        if (it == properties.cend())
            return ErrorReply(message, QDBusError::UnknownProperty, QStringLiteral("No property %1").arg(args[1].toString()));
        return message.createReply(QVariant::fromValue(QDBusVariant(it.value())));
    }
    if (member == QLatin1String("Set") && args.size() == 3)
        return SetProperty(message, interface, args[1].toString(), args[2].value<QDBusVariant>().variant());
    return ErrorReply(message, QDBusError::UnknownMethod, QStringLiteral("No method %1").arg(member));
}

QDBusMessage MprisService::SetProperty(const QDBusMessage& message, const QString& interface, const QString& name,
                                       const QVariant& value)
{
    if (interface == kPlayerInterface && name == QLatin1String("Volume") && controls_.setVolume) {
        bool ok = false;
        const double volume = value.toDouble(&ok);
        if (!ok)
            return ErrorReply(message, QDBusError::InvalidArgs, QStringLiteral("Volume takes a number"));
        controls_.setVolume(std::clamp(volume, 0.0, 1.0));
        Refresh();
        return message.createReply();
    }
    // Setting Rate to 1 is allowed and changes nothing; the player has no other rate.
    if (interface == kPlayerInterface && name == QLatin1String("Rate") && value.toDouble() == 1.0)
        return message.createReply();
    return ErrorReply(message, QDBusError::PropertyReadOnly, QStringLiteral("Property %1 cannot be set").arg(name));
}
