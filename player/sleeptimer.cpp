#include "player/sleeptimer.h"

#include <QtGlobal>

sleepTimer::sleepTimer(QObject *parent)
    : QObject(parent)
{
}

void sleepTimer::startMinutes(int chosen, const QDateTime &now)
{
    if (chosen <= 0) {
        cancel();
        return;
    }
    mode = Timed;
    minutes = chosen;
    deadline = now.addSecs(qint64(chosen) * 60);
    setFactor(1.0);
    emit changed();
}

void sleepTimer::startEndOfTrack(qint64 positionMsec, qint64 lengthMsec)
{
    mode = EndOfTrack;
    minutes = 0;
    fadeSpan = qMax<qint64>(0, lengthMsec - positionMsec);
    setFactor(1.0);
    emit changed();
}

void sleepTimer::cancel()
{
    if (mode == Off)
        return;
    end();
}

void sleepTimer::end()
{
    mode = Off;
    minutes = 0;
    setFactor(1.0);
    emit changed();
}

void sleepTimer::setStopAfterTrack(bool on)
{
    if (stopOnce == on)
        return;
    stopOnce = on;
    emit changed();
}

bool sleepTimer::takeTrackEnd()
{
    const bool stop = stopOnce || mode == EndOfTrack;
    if (!stop)
        return false;
    stopOnce = false;
    if (mode == EndOfTrack)
        end();
    else
        emit changed();
    return true;
}

void sleepTimer::tick(const QDateTime &now, qint64 positionMsec, qint64 lengthMsec)
{
    if (mode == Timed) {
        const qint64 left = now.msecsTo(deadline);
        if (left <= 0) {
            emit expired();
            end();
            return;
        }
        setFactor(qMin<qreal>(1.0, qreal(left) / fadeMsec));
    } else if (mode == EndOfTrack && fadeSpan > 0 && lengthMsec > 0) {
        const qint64 left = qMax<qint64>(0, lengthMsec - positionMsec);
        setFactor(qMin<qreal>(1.0, qreal(left) / fadeSpan));
    }
}

QString sleepTimer::remainingText(const QDateTime &now) const
{
    if (mode == EndOfTrack)
        return tr("曲の終わり");
    if (mode != Timed)
        return QString();
    const qint64 seconds = qMax<qint64>(0, (now.msecsTo(deadline) + 999) / 1000);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void sleepTimer::setFactor(qreal value)
{
    if (qFuzzyCompare(value, factor))
        return;
    factor = value;
    emit attenuationChanged(factor);
}
