#include "desktop/ringingdesktop.h"

#include "desktop/outputguard.h"
#include "desktop/ringnotification.h"
#include "desktop/sleepinhibitor.h"

ringingDesktop::ringingDesktop(const QDBusConnection &systemBus, const QDBusConnection &sessionBus, QObject *parent)
    : QObject(parent), guard(new outputGuard(this)), note(new ringNotification(sessionBus, this)),
      lid(new sleepInhibitor(systemBus, QStringLiteral("sleep:handle-lid-switch"), QStringLiteral("block"),
                             tr("アラームが鳴っている間、スリープしないように"), this))
{
    connect(note, &ringNotification::stopRequested, this, &ringingDesktop::stopRequested);
    connect(note, &ringNotification::snoozeRequested, this, &ringingDesktop::snoozeRequested);
    connect(guard, &outputGuard::stateChanged, this, [this] {
        QString text;
        const outputGuard::Output state = guard->state();
        if ((withinWarn || ringing) && outputGuard::isSilent(state)) {
            if (unmute && !ringing)
                text = state.muted ? tr("消音中（鳴る時に解除）") : tr("音量小（鳴る時に上げる）");
            else
                text = state.muted ? tr("音が消されています") : tr("音量が小さすぎます");
        }
        if (text != warning) {
            warning = text;
            emit warningChanged();
        }
    });
}

void ringingDesktop::setUnmuteEnabled(bool enabled)
{
    unmute = enabled;
}

void ringingDesktop::setUpcoming(const QDateTime &next, const QDateTime &now)
{
    const qint64 ahead = next.isValid() ? now.secsTo(next) : -1;
    soon = ahead >= 0 && ahead <= keepAwakeAheadSeconds;
    const bool warn = ahead >= 0 && ahead <= warnAheadSeconds;
    updateKeepAwake();
    if (warn != withinWarn) {
        withinWarn = warn;
        lastRefresh = QDateTime();
        if (!warn && !warning.isEmpty()) {
            warning.clear();
            emit warningChanged();
        }
    }
    // The mixer may change at any time; asking twice a minute is cheap.
    if (withinWarn && (!lastRefresh.isValid() || lastRefresh.secsTo(now) >= refreshSeconds || lastRefresh > now)) {
        lastRefresh = now;
        guard->refresh();
    }
}

void ringingDesktop::begin(const QDateTime &scheduled, const QString &detail, int audiblePercent)
{
    ringing = true;
    updateKeepAwake();
    if (unmute)
        guard->makeAudible(audiblePercent);
    else
        guard->refresh();
    note->show(tr("アラーム %1").arg(scheduled.time().toString(QStringLiteral("HH:mm"))), detail);
}

void ringingDesktop::end()
{
    if (!ringing)
        return;
    ringing = false;
    updateKeepAwake();
    note->withdraw();
    guard->restore();
}

bool ringingDesktop::isRinging() const
{
    return ringing;
}

QString ringingDesktop::silentWarning() const
{
    return warning;
}

outputGuard *ringingDesktop::output() const
{
    return guard;
}

ringNotification *ringingDesktop::notification() const
{
    return note;
}

sleepInhibitor *ringingDesktop::lidInhibitor() const
{
    return lid;
}

void ringingDesktop::updateKeepAwake()
{
    lid->setWanted(ringing || soon);
}

#include "moc_ringingdesktop.cpp"
