#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// Keeps one player per state folder. The first start holds a lock file and
// listens on a local socket beside it; a later start finds the lock held,
// sends its command-line paths over the socket and ends. A lock left by a
// killed process is taken over, and its socket file replaced.
class instanceGuard : public QObject
{
    Q_OBJECT
public:
    // `key` names the guarded state (its folder); `runtimeDir` holds the lock
    // and the socket.
    instanceGuard(const QString &key, const QString &runtimeDir, QObject *parent = nullptr);
    ~instanceGuard() override;

    // True when this process is now the one instance and listens for others.
    bool claim();
    // From a later start: hands the paths to the running instance and waits
    // for it to take them. False when no running instance answered.
    bool handOver(const QStringList &paths, int timeoutMsec = 5000);

    QString socketPath() const { return socketFile; }
    QString lockPath() const { return lockFileName; }

    // The message a later start sends: a tag, then the paths.
    static QByteArray encode(const QStringList &paths);

Q_SIGNALS:
    // A later start asked to be shown, with the paths it was given.
    void activationRequested(const QStringList &paths);

private:
    void onNewConnection();
    void readMessage(QLocalSocket *socket);

    QString socketFile;
    QString lockFileName;
    std::unique_ptr<QLockFile> lock;
    QLocalServer *server = nullptr;
};
