#pragma once

#include <QHash>
#include <QObject>

#include <ctime>

class QSocketNotifier;

// One kernel timer per user that wakes the machine from suspend when it
// expires (a CLOCK_REALTIME_ALARM timerfd, which needs CAP_WAKE_ALARM and a
// wake-capable real-time clock). Tests use the plain CLOCK_REALTIME, which
// needs nothing and wakes nothing.
class wakeTimer : public QObject
{
    Q_OBJECT
public:
    explicit wakeTimer(clockid_t clock, QObject *parent = nullptr);
    ~wakeTimer() override;

    // Empty when timers on the clock can be set here, else why not.
    QString unavailableReason() const;
    // Sets the user's timer to `at` (seconds since the epoch), replacing theirs;
    // false when the kernel refuses, and then their earlier timer is kept.
    bool set(uint uid, qint64 at);
    void clear(uint uid);
    bool isSet(uint uid) const;

Q_SIGNALS:
    void expired(uint uid);

private:
    void onReadable(uint uid);

    struct Timer
    {
        int fd = -1;
        QSocketNotifier *notifier = nullptr;
    };
    clockid_t clock;
    QHash<uint, Timer> timers;
};
