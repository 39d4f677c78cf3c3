#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStringList>
#include <QThread>
#include <unistd.h>

#include "app/MainBody.h"

namespace {

// The owner confirms a message with this byte once WhenMessage has it.
constexpr char kReceived = 1;
constexpr int kRetryMs = 50;

QString CanonicalFolder(const String& folder)
{
    const QString path = QString::fromStdString(folder);
    const QString canonical = QDir(path).canonicalPath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
}

// Reads one length-prefixed list of strings; false while it is incomplete.
bool ReadMessage(QLocalSocket& socket, std::vector<std::string>& arguments)
{
    QDataStream in(&socket);
    in.startTransaction();
    QStringList list;
    in >> list;
    if (!in.commitTransaction())
        return false;
    for (const QString& text : list)
        arguments.push_back(text.toStdString());
    return true;
}

} // namespace

SingleInstance::SingleInstance(const String& folder) : folder_(folder) {}

SingleInstance::~SingleInstance() = default;

std::string SingleInstance::ServerName(const String& folder)
{
    const QByteArray hash =
        QCryptographicHash::hash(CanonicalFolder(folder).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    // The user id keeps two users' players on one shared folder apart.
    return "quillon-player-" + std::to_string(getuid()) + "-" + hash.toStdString();
}

bool SingleInstance::Acquire()
{
    if (IsOwner())
        return true;
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(folder_ + kDatabaseFileName + ".lock"));
    // Only a lock whose process has gone is stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        Listen();
        return true;
    }
    // Where no lock can be made at all (a read-only or missing folder) no
    // player can write the library either; the start-up reports the folder.
    const bool heldByOther = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return !heldByOther;
}

void SingleInstance::Listen()
{
    const QString name = QString::fromStdString(ServerName(folder_));
    listening_ = std::make_unique<QLocalServer>();
    // Only the lock's owner gets here, so a socket of that name was left by a killed owner.
    QLocalServer::removeServer(name);
    listening_->setSocketOptions(QLocalServer::UserAccessOption);
    listening_->listen(name);
    QObject::connect(listening_.get(), &QLocalServer::newConnection, listening_.get(), [this] {
        while (QLocalSocket* socket = listening_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Receive(socket); });
            if (socket->bytesAvailable() > 0)
                Receive(socket);
        }
    });
}

void SingleInstance::Receive(QLocalSocket* socket)
{
    std::vector<std::string> arguments;
    if (!ReadMessage(*socket, arguments))
        return;
    socket->write(&kReceived, 1);
    socket->flush();
    if (WhenMessage)
        WhenMessage(std::move(arguments));
}

bool SingleInstance::Send(const std::vector<std::string>& arguments, int timeoutMs) const
{
    const QString name = QString::fromStdString(ServerName(folder_));
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    // The owner takes its lock before it listens: keep trying while it starts.
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(kRetryMs * 4))
            break;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(kRetryMs);
    }
    QStringList list;
    for (const std::string& text : arguments)
        list << QString::fromStdString(text);
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << list;
    socket.write(message);
    const int left = std::max(kRetryMs, timeoutMs - static_cast<int>(clock.elapsed()));
    if (!socket.waitForBytesWritten(left))
        return false;
    char answer = 0;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(left))
            return false;
    return socket.read(&answer, 1) == 1 && answer == kReceived;
}
