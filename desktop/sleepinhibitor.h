#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

class QDBusPendingCallWatcher;

// Holds a logind inhibitor while it is wanted: by default "sleep:idle" in
// block mode, so the machine stays awake for a coming alarm. Releasing it is
// closing the descriptor logind handed out.
class sleepInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit sleepInhibitor(const QDBusConnection &systemBus, QObject *parent = nullptr);
    // `what` as logind lists it ("sleep", "handle-lid-switch", joined by ':'),
    // `mode` "block" or "delay", `why` shown to the person by the desktop.
    sleepInhibitor(const QDBusConnection &systemBus, const QString &what, const QString &mode, const QString &why,
                   QObject *parent = nullptr);

    // Whether logind is there to ask (running, or started on demand).
    bool isAvailable() const;
    void setWanted(bool wanted);
    bool isWanted() const;
    bool isHeld() const;

Q_SIGNALS:
    void heldChanged(bool held);

private:
    void request();
    void onReply(QDBusPendingCallWatcher *watcher);

    QDBusConnection bus;
    QString what;
    QString mode;
    QString why;
    QDBusUnixFileDescriptor lock;
    bool wanted = false;
    bool pending = false;
};
