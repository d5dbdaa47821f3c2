#pragma once

#include <QDBusConnection>
#include <QDateTime>
#include <QObject>
#include <QString>

class outputGuard;
class ringNotification;
class sleepInhibitor;

// What an alarm needs from the desktop around its occurrence: the output
// audible while it rings, a notification that stops or snoozes it from a
// locked screen, and a laptop kept awake (lid closed or not) from a minute
// before until the ringing ends. Ahead of time it tells when the output
// is silent.
class ringingDesktop : public QObject
{
    Q_OBJECT
public:
    ringingDesktop(const QDBusConnection &systemBus, const QDBusConnection &sessionBus, QObject *parent = nullptr);

    void setUnmuteEnabled(bool enabled);
    // Called as time passes with the next occurrence (invalid when none).
    void setUpcoming(const QDateTime &next, const QDateTime &now);
    // The occurrence at `scheduled` rings; `audiblePercent` is the least
    // output volume it should be heard at.
    void begin(const QDateTime &scheduled, const QString &detail, int audiblePercent);
    void end();
    bool isRinging() const;

    // Empty, or what the person should know about the output now.
    QString silentWarning() const;

    outputGuard *output() const;
    ringNotification *notification() const;
    sleepInhibitor *lidInhibitor() const;

    static constexpr int warnAheadSeconds = 12 * 3600;
    static constexpr int keepAwakeAheadSeconds = 60;
    static constexpr int refreshSeconds = 30;

Q_SIGNALS:
    void stopRequested();
    void snoozeRequested();
    void warningChanged();

private:
    void updateKeepAwake();

    outputGuard *guard;
    ringNotification *note;
    sleepInhibitor *lid;
    bool unmute = true;
    bool ringing = false;
    bool soon = false;       // an occurrence within a minute
    bool withinWarn = false; // an occurrence within the warning time
    QDateTime lastRefresh;
    QString warning;
};
