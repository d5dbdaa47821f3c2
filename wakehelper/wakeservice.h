#pragma once

#include "wakehelper/pendingchecks.h"
#include "wakehelper/wakeregistry.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class wakeTimer;

// The helper's bus face, org.vurn.WakeHelper1 on /org/vurn/WakeHelper:
//   CanWake() -> (b, s)   whether this caller could arm a wake here, and why not
//   Arm(x at)             wake the machine at `at` (seconds since the epoch)
//   Disarm()              forget the caller's user's wake
// Nothing a caller sends is trusted: the user comes from the bus daemon, each
// CanWake and Arm is put to polkit without interaction, times are checked
// against the helper's own clock, and calls are rate-limited per user.
// Disarm is never limited and never waits on polkit: giving up needs no one's leave.
class wakeService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vurn.WakeHelper1")
public:
    wakeService(const QDBusConnection &bus, wakeTimer *timer, int idleSeconds, QObject *parent = nullptr);

    static constexpr const char *serviceName = "org.vurn.WakeHelper";
    static constexpr const char *objectPath = "/org/vurn/WakeHelper";
    static constexpr const char *actionId = "org.vurn.vurn.wake-for-alarm";
    // Shorter than the player's wait for Arm, so that the player hears the answer.
    static constexpr int polkitTimeoutMsec = 2500;

    bool registerOnBus();

public Q_SLOTS:
    Q_SCRIPTABLE bool CanWake(QString &reason);
    Q_SCRIPTABLE void Arm(qlonglong at);
    Q_SCRIPTABLE void Disarm();

Q_SIGNALS:
    void idle(); // nothing held, nothing asked for a while: time to exit

private:
    enum class Kind { CanWake, Arm };
    struct Request
    {
        Kind kind = Kind::CanWake;
        QDBusMessage message;
        uint uid = 0;
        qint64 at = 0;
        quint64 cancelCount = 0; // the user's, when polkit was asked
    };
    // The caller's user; false (and an error sent) when the bus does not say.
    bool callerUid(uint &uid);
    // The caller's user, after the rate limit and the user's share of polkit
    // checks; false (and an error sent) when refused.
    bool admit(uint &uid);
    void authorise(Request request);
    void onAuthorised(const Request &request, QDBusPendingCallWatcher *watcher);
    void finishArm(const Request &request);
    void onOwnerGone(const QString &owner);
    void onExpired(uint uid);
    void replyError(const QDBusMessage &message, const QString &name, const QString &text);
    void rearmIdle();

    QDBusConnection bus;
    wakeTimer *timer;
    wakeRegistry registry;
    QDBusServiceWatcher *owners;
    QTimer idleTimer;
    pendingChecks pending;
};
