#pragma once

#include <QDBusConnection>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class QDBusPendingCallWatcher;
class sleepInhibitor;

// Asks the wake helper to wake a suspending machine for the next alarm.
// While switched on it holds a logind delay inhibitor, so that when the
// machine is about to sleep there is time to arm the helper (a minute before
// the alarm, so the music starts on the minute); after that answer, or a
// timeout, the inhibitor is let go and the machine sleeps. An Arm that errs
// or times out is followed by a Disarm, so that no wake is left behind that
// the player does not know of; on resume the wake is disarmed whatever Arm
// answered, and the inhibitor taken again. Every call is asynchronous.
class wakeClient : public QObject
{
    Q_OBJECT
public:
    // `nextAlarm` gives the next occurrence (invalid when none) at a given time.
    wakeClient(const QDBusConnection &systemBus, std::function<QDateTime(const QDateTime &now)> nextAlarm,
               QObject *parent = nullptr);

    // Asks the helper whether waking can work here; availabilityChanged follows.
    void probe();
    bool isAvailable() const;
    QString unavailableReason() const; // for the person, in Japanese
    void setEnabled(bool enabled);
    bool isEnabled() const;
    QDateTime armedFor() const; // invalid when nothing is armed

    // The wake time for an alarm at `alarm`, seen at `now`: a minute early, at
    // least a minute ahead; invalid when the alarm is more than a day away.
    static QDateTime wakeTimeFor(const QDateTime &alarm, const QDateTime &now);
    static constexpr int callTimeoutMsec = 3000;
    // Arm, then Disarm after a failed Arm, fit inside logind's default
    // 5 s sleep delay; the helper gives up on polkit before Arm times out.
    static constexpr int armTimeoutMsec = 3500;
    static constexpr int disarmTimeoutMsec = 1000;

public Q_SLOTS:
    void prepareForSleep();
    void resumed();

Q_SIGNALS:
    void availabilityChanged();
    void armed(const QDateTime &at);
    void disarmed();

private:
    void onProbed(QDBusPendingCallWatcher *watcher);
    void onArmed(QDBusPendingCallWatcher *watcher, const QDateTime &at, int sleepNumber);
    void disarm(bool thenLetSleep);
    void updateDelayInhibitor();
    QDBusMessage helperCall(const QString &method) const;

    QDBusConnection bus;
    std::function<QDateTime(const QDateTime &)> nextAlarm;
    sleepInhibitor *delay;
    bool available = false;
    bool enabled = false;
    bool sleeping = false;
    QString reason;
    QDateTime armedAt;
    bool armAsked = false; // during this sleep: the helper may hold a wake of ours
    int sleeps = 0;
};
