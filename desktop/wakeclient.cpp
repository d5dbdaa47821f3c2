#include "desktop/wakeclient.h"

#include "alarm/alarmclock.h"
#include "desktop/sleepinhibitor.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const char service[] = "org.vurn.WakeHelper";
const char path[] = "/org/vurn/WakeHelper";
const char interface[] = "org.vurn.WakeHelper1";
} // namespace

wakeClient::wakeClient(const QDBusConnection &systemBus, std::function<QDateTime(const QDateTime &)> next,
                       QObject *parent)
    : QObject(parent), bus(systemBus), nextAlarm(std::move(next)),
      delay(new sleepInhibitor(systemBus, QStringLiteral("sleep"), QStringLiteral("delay"),
                               tr("アラームの時刻に起こす準備のため"), this))
{
    reason = tr("確認しています…");
}

QDBusMessage wakeClient::helperCall(const QString &method) const
{
    return QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path), QLatin1String(interface),
                                          method);
}

void wakeClient::probe()
{
    if (!bus.isConnected()) {
        available = false;
        reason = tr("システムバスに接続できません");
        emit availabilityChanged();
        return;
    }
    // Starts the helper on demand; it exits again when it holds nothing.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(helperCall(QStringLiteral("CanWake")), callTimeoutMsec),
                                                this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &wakeClient::onProbed);
}

void wakeClient::onProbed(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<bool, QString> reply = *watcher;
    if (reply.isError()) {
        available = false;
        const QDBusError::ErrorType type = reply.error().type();
        if (type == QDBusError::ServiceUnknown)
            reason = tr("起こすための補助プログラムが入っていません");
        else if (type == QDBusError::NoReply || type == QDBusError::Timeout)
            reason = tr("補助プログラムが応答しません");
        else
            reason = reply.error().message();
    } else {
        available = reply.argumentAt<0>();
        const QString why = reply.argumentAt<1>();
        if (available)
            reason.clear();
        else if (why.startsWith(QLatin1String("not authorised")))
            reason = tr("polkit が許可しません（ログイン中のアクティブなセッションだけが使えます）");
        else if (why.startsWith(QLatin1String("no wake-capable clock")))
            reason = tr("このパソコンにはスリープから起こせる時計（RTC）がありません");
        else
            reason = why;
    }
    updateDelayInhibitor();
    emit availabilityChanged();
}

bool wakeClient::isAvailable() const
{
    return available;
}

QString wakeClient::unavailableReason() const
{
    return reason;
}

void wakeClient::setEnabled(bool on)
{
    enabled = on;
    updateDelayInhibitor();
}

bool wakeClient::isEnabled() const
{
    return enabled;
}

QDateTime wakeClient::armedFor() const
{
    return armedAt;
}

QDateTime wakeClient::wakeTimeFor(const QDateTime &alarm, const QDateTime &now)
{
    if (!alarm.isValid() || !now.isValid())
        return QDateTime();
    const qint64 ahead = now.secsTo(alarm);
    if (ahead > 24 * 3600 + 60 || ahead < 0)
        return QDateTime();
    // The helper takes nothing closer than a minute; an alarm that close is
    // rung late by the catch-up rather than not at all.
    return alarm.addSecs(-60) > now.addSecs(61) ? alarm.addSecs(-60) : now.addSecs(61);
}

void wakeClient::updateDelayInhibitor()
{
    delay->setWanted(enabled && available && !sleeping);
}

void wakeClient::prepareForSleep()
{
    sleeping = true;
    ++sleeps;
    const QDateTime now = alarmClock::now();
    const QDateTime at = enabled && available && nextAlarm ? wakeTimeFor(nextAlarm(now), now) : QDateTime();
    if (!at.isValid()) {
        updateDelayInhibitor(); // nothing to arm: sleep at once
        return;
    }
    QDBusMessage call = helperCall(QStringLiteral("Arm"));
    call << qlonglong(at.toSecsSinceEpoch());
    armAsked = true;
    // The answer, an error or the timeout lets the machine sleep: logind waits
    // a few seconds at most for a delay inhibitor anyway.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, armTimeoutMsec), this);
    const int sleepNumber = sleeps;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, at, sleepNumber](QDBusPendingCallWatcher *w) { onArmed(w, at, sleepNumber); });
}

void wakeClient::onArmed(QDBusPendingCallWatcher *watcher, const QDateTime &at, int sleepNumber)
{
    watcher->deleteLater();
    const QDBusPendingReply<> reply = *watcher;
    if (sleepNumber != sleeps || !sleeping)
        return; // answered after resume, whose Disarm already followed it
    if (reply.isError()) {
        // A timeout does not say the helper armed nothing: take it back.
        disarm(true);
        return;
    }
    armedAt = at;
    emit armed(at);
    updateDelayInhibitor();
}

void wakeClient::disarm(bool thenLetSleep)
{
    auto *watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(helperCall(QStringLiteral("Disarm")), disarmTimeoutMsec), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, thenLetSleep](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (thenLetSleep)
            updateDelayInhibitor();
    });
}

void wakeClient::resumed()
{
    sleeping = false;
    // Whatever Arm answered, or if it has not yet, nothing of ours stays armed.
    if (armAsked || armedAt.isValid())
        disarm(false);
    armAsked = false;
    if (armedAt.isValid()) {
        armedAt = QDateTime();
        emit disarmed();
    }
    updateDelayInhibitor();
}

#include "moc_wakeclient.cpp"
