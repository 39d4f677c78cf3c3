#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QVariantList>
#include <vector>

// A session bus of the test's own: a dbus-daemon started for the test and
// stopped with it, so tests neither need nor disturb the user's bus.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    // False when dbus-daemon is missing or did not start; Why() says which.
    bool IsUp() const { return !address_.isEmpty(); }
    QString Why() const { return why_; }

    // Ends a test that needs the bus: skipped on a developer's machine without
// dbus-daemon, failed in CI, which installs it.
#define QP_REQUIRE_PRIVATE_BUS(bus)                                                                   \
    do {                                                                                              \
        if (!(bus).IsUp()) {                                                                          \
            if (qEnvironmentVariableIsSet("CI"))                                                      \
                FAIL() << "no private session bus: " << (bus).Why().toStdString();                    \
            GTEST_SKIP() << "no private session bus: " << (bus).Why().toStdString();                  \
        }                                                                                             \
    } while (false)

// A new connection to the bus, with a name of its own.
    QDBusConnection Connect(const QString& name);

private:
    QProcess daemon_;
    QString address_;
    QString why_;
    std::vector<QString> names_;
};

// Records the signals a connection receives from one object.
class BusSignals : public QObject {
    Q_OBJECT
public:
    BusSignals(QDBusConnection connection, const QString& path, const QString& interface, const QString& member);

    std::vector<QDBusMessage> received;

public slots:
    void Record(const QDBusMessage& message) { received.push_back(message); }
};

// Calls a method and waits for its reply while the event loop runs, so the
// service may live in this same thread.
QDBusMessage CallAndWait(QDBusConnection connection, const QString& service, const QString& path,
                         const QString& interface, const QString& member, const QVariantList& arguments = {});
