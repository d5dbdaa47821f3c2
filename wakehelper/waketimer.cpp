#include "wakehelper/waketimer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

wakeTimer::wakeTimer(clockid_t clockId, QObject *parent) : QObject(parent), clock(clockId)
{
}

wakeTimer::~wakeTimer()
{
    const QList<uint> users = timers.keys();
    for (const uint uid : users)
        clear(uid);
}

QString wakeTimer::unavailableReason() const
{
    // The alarm clocks answer only where the kernel has a real-time clock that
    // can wake the machine; a virtual machine often has none.
    timespec resolution{};
    if (clock_getres(clock, &resolution) != 0)
        return QStringLiteral("no wake-capable clock (%1)").arg(QString::fromLocal8Bit(strerror(errno)));
    const int probe = timerfd_create(clock, TFD_CLOEXEC | TFD_NONBLOCK);
    if (probe < 0)
        return QStringLiteral("cannot set a wake timer (%1)").arg(QString::fromLocal8Bit(strerror(errno)));
    close(probe);
    return QString();
}

bool wakeTimer::set(uint uid, qint64 at)
{
    // The new timer is made before the old one goes, so that a failure leaves
    // the user's earlier wake as it was.
    Timer timer;
    timer.fd = timerfd_create(clock, TFD_CLOEXEC | TFD_NONBLOCK);
    if (timer.fd < 0)
        return false;
    itimerspec when{};
    when.it_value.tv_sec = time_t(at);
    if (timerfd_settime(timer.fd, TFD_TIMER_ABSTIME, &when, nullptr) != 0) {
        close(timer.fd);
        return false;
    }
    clear(uid);
    timer.notifier = new QSocketNotifier(timer.fd, QSocketNotifier::Read, this);
    connect(timer.notifier, &QSocketNotifier::activated, this, [this, uid] { onReadable(uid); });
    timers.insert(uid, timer);
    return true;
}

void wakeTimer::clear(uint uid)
{
    const Timer timer = timers.take(uid);
    if (timer.notifier) {
        timer.notifier->setEnabled(false);
        timer.notifier->deleteLater();
    }
    if (timer.fd >= 0)
        close(timer.fd);
}

bool wakeTimer::isSet(uint uid) const
{
    return timers.contains(uid);
}

void wakeTimer::onReadable(uint uid)
{
    const Timer timer = timers.value(uid);
    if (timer.fd < 0)
        return;
    quint64 expirations = 0;
    if (read(timer.fd, &expirations, sizeof expirations) != ssize_t(sizeof expirations))
        return; // spurious: not expired yet
    clear(uid);
    emit expired(uid);
}
