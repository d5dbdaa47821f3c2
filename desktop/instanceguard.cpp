#include "desktop/instanceguard.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>

namespace {

const quint32 messageTag = 0x5675726e; // "Vurn"
const quint32 messageVersion = 1;
const char acknowledgement = 'A';
// A peer that stops half-way through its message is dropped after this long.
const int incompleteMessageMsec = 5000;
// Paths are few; anything claiming more is not one of ours.
const quint32 maxMessageBytes = 16 * 1024 * 1024;

} // namespace

instanceGuard::instanceGuard(const QString &key, const QString &runtimeDir, QObject *parent)
    : QObject(parent)
{
    // Socket paths are short on Unix (108 bytes): name them by a hash of the key.
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString base = QDir(runtimeDir).filePath(QStringLiteral("vurn-") + QString::fromLatin1(hash));
    socketFile = base + QStringLiteral(".socket");
    lockFileName = base + QStringLiteral(".lock");
}

instanceGuard::~instanceGuard()
{
    if (server)
        server->close();
}

bool instanceGuard::claim()
{
    QDir().mkpath(QFileInfo(lockFileName).absolutePath());
    lock = std::make_unique<QLockFile>(lockFileName);
    // Never stale by age: only a lock whose process is gone is taken over,
    // which QLockFile finds out from the pid it holds.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        lock.reset();
        return false;
    }
    // Whatever socket file is there was left by a killed instance.
    QLocalServer::removeServer(socketFile);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &instanceGuard::onNewConnection);
    if (!server->listen(socketFile))
        qWarning("vurn: cannot listen on %s: %s", qPrintable(socketFile), qPrintable(server->errorString()));
    return true;
}

QByteArray instanceGuard::encode(const QStringList &paths)
{
    // Unix paths cannot hold a NUL byte: it separates them.
    QByteArray body;
    for (const QString &path : paths)
        body += path.toUtf8() + '\0';
    QByteArray message;
    QDataStream head(&message, QIODevice::WriteOnly);
    head.setVersion(QDataStream::Qt_5_15);
    head << messageTag << messageVersion << quint32(body.size());
    return message + body;
}

bool instanceGuard::handOver(const QStringList &paths, int timeoutMsec)
{
    QElapsedTimer waited;
    waited.start();
    // The running instance may still be starting: its lock is taken before
    // it listens. Keep trying until the time is up.
    while (waited.elapsed() < timeoutMsec) {
        QLocalSocket socket;
        socket.connectToServer(socketFile);
        if (socket.waitForConnected(500)) {
            socket.write(encode(paths));
            socket.flush();
            while (socket.bytesAvailable() < 1 && socket.state() == QLocalSocket::ConnectedState
                   && waited.elapsed() < timeoutMsec)
                socket.waitForReadyRead(100);
            if (socket.bytesAvailable() >= 1 && socket.read(1).at(0) == acknowledgement)
                return true;
        }
        QThread::msleep(100);
    }
    return false;
}

void instanceGuard::onNewConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        // A peer that never finishes its message does not hold the socket.
        QTimer::singleShot(incompleteMessageMsec, socket, [socket] { socket->abort(); });
        readMessage(socket);
    }
}

void instanceGuard::readMessage(QLocalSocket *socket)
{
    if (socket->property("vurnDone").toBool())
        return;
    const QByteArray pending = socket->peek(socket->bytesAvailable());
    QDataStream head(pending);
    head.setVersion(QDataStream::Qt_5_15);
    quint32 tag = 0;
    quint32 version = 0;
    quint32 size = 0;
    head >> tag >> version >> size;
    if (head.status() != QDataStream::Ok)
        return; // the header is still on its way
    if (tag != messageTag || version != messageVersion || size > maxMessageBytes) {
        socket->abort();
        return;
    }
    const int headerBytes = 12;
    if (pending.size() < headerBytes + int(size))
        return;
    const QByteArray body = pending.mid(headerBytes, int(size));
    if (!body.isEmpty() && !body.endsWith('\0')) {
        socket->abort();
        return;
    }
    QStringList paths;
    for (const QByteArray &path : body.split('\0')) {
        if (!path.isEmpty())
            paths << QString::fromUtf8(path);
    }
    socket->setProperty("vurnDone", true);
    socket->write(&acknowledgement, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit activationRequested(paths);
}

#include "moc_instanceguard.cpp"
