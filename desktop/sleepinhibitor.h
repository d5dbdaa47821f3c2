#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

class QDBusPendingCallWatcher;

// Holds a logind "sleep:idle" block inhibitor while it is wanted, so the
// machine stays awake for a coming alarm. Releasing it is closing the
// descriptor logind handed out.
class sleepInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit sleepInhibitor(const QDBusConnection &systemBus, QObject *parent = nullptr);

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
    QDBusUnixFileDescriptor lock;
    bool wanted = false;
    bool pending = false;
};
