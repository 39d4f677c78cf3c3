#include "support/PrivateBus.h"

#include <QDBusPendingCall>
#include <QStandardPaths>
#include <QTest>

PrivateBus::PrivateBus()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty()) {
        why_ = QStringLiteral("dbus-daemon is not installed");
        return;
    }
    daemon_.start(program, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!daemon_.waitForStarted(5000) || !daemon_.waitForReadyRead(5000)) {
        why_ = QStringLiteral("dbus-daemon did not start");
        return;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty())
        why_ = QStringLiteral("dbus-daemon printed no address");
}

PrivateBus::~PrivateBus()
{
    for (const QString& name : names_)
        QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(3000))
            daemon_.kill();
        daemon_.waitForFinished(3000);
    }
}

QDBusConnection PrivateBus::Connect(const QString& name)
{
    names_.push_back(name);
    return QDBusConnection::connectToBus(address_, name);
}

BusSignals::BusSignals(QDBusConnection connection, const QString& path, const QString& interface,
                       const QString& member)
{
    connection.connect(QString(), path, interface, member, this, SLOT(Record(QDBusMessage)));
}

QDBusMessage CallAndWait(QDBusConnection connection, const QString& service, const QString& path,
                         const QString& interface, const QString& member, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, member);
    call.setArguments(arguments);
    QDBusPendingCall pending = connection.asyncCall(call, 5000);
    // An unfinished call gives no valid reply, which the caller's checks catch.
    (void)QTest::qWaitFor([&pending] { return pending.isFinished(); }, 6000);
    return pending.reply();
}
