#include "support/fakelogind.h"

#include <QDBusMessage>
#include <QDeadlineTimer>

#include <poll.h>
#include <unistd.h>

PrivateBus::PrivateBus()
{
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                  QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted(5000))
        return;
    QDeadlineTimer deadline(5000);
    while (!daemon.canReadLine() && !deadline.hasExpired())
        daemon.waitForReadyRead(100);
    busAddress = QString::fromUtf8(daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    stop();
}

void PrivateBus::stop()
{
    if (daemon.state() != QProcess::NotRunning) {
        daemon.terminate();
        if (!daemon.waitForFinished(3000))
            daemon.kill();
        daemon.waitForFinished(3000);
    }
}

bool PrivateBus::isRunning() const
{
    return daemon.state() == QProcess::Running && !busAddress.isEmpty();
}

QString PrivateBus::address() const
{
    return busAddress;
}

QDBusConnection PrivateBus::connect(const QString &name) const
{
    // Qt keeps connections by name: a name reused with a later bus would
    // hand back the connection to the earlier, stopped one.
    return QDBusConnection::connectToBus(busAddress, name + QLatin1Char('@') + busAddress);
}

FakeLogind::FakeLogind(const QDBusConnection &connection)
    : bus(connection)
{
    ok = bus.registerObject(QStringLiteral("/org/freedesktop/login1"), this, QDBusConnection::ExportAllSlots)
         && bus.registerService(QStringLiteral("org.freedesktop.login1"));
}

FakeLogind::~FakeLogind()
{
    for (const int fd : readEnds)
        ::close(fd);
}

bool FakeLogind::registered() const
{
    return ok;
}

int FakeLogind::inhibitCalls() const
{
    return readEnds.size();
}

bool FakeLogind::released(int i) const
{
    if (i < 0 || i >= readEnds.size())
        return false;
    pollfd p{readEnds.at(i), POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
}

void FakeLogind::emitPrepareForSleep(bool sleeping)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                     QStringLiteral("org.freedesktop.login1.Manager"),
                                                     QStringLiteral("PrepareForSleep"));
    signal << sleeping;
    bus.send(signal);
}

QDBusUnixFileDescriptor FakeLogind::Inhibit(const QString &what, const QString &who, const QString &why,
                                            const QString &mode)
{
    lastArguments = QStringList{what, who, why, mode};
    if (refuse) {
        sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("refused"));
        return QDBusUnixFileDescriptor();
    }
    int ends[2];
    if (::pipe(ends) != 0)
        return QDBusUnixFileDescriptor();
    readEnds << ends[0];
    QDBusUnixFileDescriptor handed(ends[1]); // a duplicate travels in the reply
    ::close(ends[1]);
    return handed;
}
