#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVector>

// A private D-Bus daemon of the test's own, standing in for the system bus.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    bool isRunning() const;
    QString address() const;
    // A new connection to the bus under a name of its own.
    QDBusConnection connect(const QString &name) const;
    void stop();

private:
    QProcess daemon;
    QString busAddress;
};

// Just enough of logind's manager: Inhibit hands out the write end of a pipe,
// and the inhibitor counts as released once every copy of it is closed.
class FakeLogind : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    explicit FakeLogind(const QDBusConnection &bus);
    ~FakeLogind() override;

    bool registered() const;
    int inhibitCalls() const;
    QStringList lastArguments; // what, who, why, mode
    bool refuse = false;
    // The descriptor handed out by call i has been closed by its holder.
    bool released(int i) const;
    void emitPrepareForSleep(bool sleeping);

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why,
                                    const QString &mode);

private:
    QDBusConnection bus;
    bool ok = false;
    QVector<int> readEnds;
};
