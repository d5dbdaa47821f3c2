#include "alarm/alarmschedule.h"

#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <algorithm>
#include <vector>

namespace {

// An occurrence is on time for the whole of its minute.
const qint64 minuteMsec = 60 * 1000;

QDateTime makeIn(const QDate &day, const QTime &time, const QDateTime &zoneOf)
{
    switch (zoneOf.timeSpec()) {
    case Qt::UTC: return QDateTime(day, time, Qt::UTC);
    case Qt::OffsetFromUTC: return QDateTime(day, time, Qt::OffsetFromUTC, zoneOf.offsetFromUtc());
    case Qt::TimeZone: return QDateTime(day, time, zoneOf.timeZone());
    case Qt::LocalTime: break;
    }
    return QDateTime(day, time, Qt::LocalTime);
}

QString keyOf(const QDateTime &scheduled)
{
    return scheduled.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

struct Candidate
{
    const alarmOne *alarm;
    QDateTime scheduled;
    int order; // list position; the snooze comes first among equals
    bool snooze;
};

} // namespace

alarmSchedule::alarmSchedule() = default;
alarmSchedule::~alarmSchedule() = default;

void alarmSchedule::setCatchUpMinutes(int minutes)
{
    catchUp = qMax(0, minutes);
}

int alarmSchedule::catchUpMinutes() const
{
    return catchUp;
}

QDateTime alarmSchedule::occurrenceOn(const alarmOne &alarm, const QDate &day, const QDateTime &zoneOf)
{
    if (!day.isValid() || !alarm.week[day.dayOfWeek() - 1])
        return QDateTime();
    // Digits that do not convert count as 0, as everywhere the alarm texts are read.
    const QTime time(alarm.hour.toInt(nullptr, 10), alarm.minute.toInt(nullptr, 10));
    if (!time.isValid())
        return QDateTime();
    // A skipped local time (clocks going forward) either comes back invalid or
    // moved; take the first minute after it that does exist.
    for (int step = 0; step < 24 * 60; ++step) {
        const QTime candidate = time.addSecs(step * 60);
        if (step > 0 && candidate <= time)
            break; // ran past midnight
        const QDateTime moment = makeIn(day, candidate, zoneOf);
        if (moment.isValid() && moment.time() == candidate && moment.date() == day)
            return moment;
    }
    return QDateTime();
}

bool alarmSchedule::alreadyFired(const QDateTime &scheduled) const
{
    return fired.contains(keyOf(scheduled));
}

void alarmSchedule::forgetOldFirings(const QDateTime &now)
{
    // Two days back is well past any catch-up window and any clock step worth
    // guarding against; keep the set small.
    const QString oldest = keyOf(now.addDays(-2));
    for (QSet<QString> *keys : {&fired, &passedOver}) {
        for (auto it = keys->begin(); it != keys->end();) {
            if (*it < oldest)
                it = keys->erase(it);
            else
                ++it;
        }
    }
}

alarmSchedule::Firing alarmSchedule::check(const alarmList *alarms, bool enabled,
                                           const QDateTime &now, bool playing)
{
    const QDateTime previous = lastCheck;
    lastCheck = now;
    if (!enabled || !now.isValid())
        return Firing();

    const qint64 nowMsec = now.toMSecsSinceEpoch();
    const qint64 windowMsec = qint64(catchUp) * minuteMsec;
    const qint64 sinceMsec = previous.isValid() ? previous.toMSecsSinceEpoch() : nowMsec;
    // Due: inside its own minute, or (catching up) passed since the last
    // check and no further back than the window.
    auto isDue = [&](const QDateTime &at) {
        const qint64 atMsec = at.toMSecsSinceEpoch();
        if (atMsec > nowMsec)
            return false;
        if (nowMsec - atMsec < minuteMsec)
            return true;
        return windowMsec > 0 && atMsec > sinceMsec && nowMsec - atMsec <= windowMsec;
    };

    std::vector<Candidate> due;
    const bool snoozeWaits = snoozed && snoozeAt.isValid();
    if (snoozeWaits && isDue(snoozeAt))
        due.push_back({snoozed.get(), snoozeAt, -1, true});
    if (alarms) {
        const int daysBack = int(windowMsec / (24 * 60 * minuteMsec)) + 1;
        int order = 0;
        for (const alarmOne *alarm : *alarms) {
            if (alarm && alarm->enabled) {
                for (int back = daysBack; back >= 0; --back) {
                    const QDateTime at = occurrenceOn(*alarm, now.date().addDays(-back), now);
                    if (at.isValid() && isDue(at) && !alreadyFired(at))
                        due.push_back({alarm, at, order, false});
                }
            }
            ++order;
        }
    }
    // The most recent occurrence wins; among equals, the earlier in the list.
    std::stable_sort(due.begin(), due.end(), [](const Candidate &a, const Candidate &b) {
        if (a.scheduled != b.scheduled)
            return a.scheduled > b.scheduled;
        return a.order < b.order;
    });
    // A snooze past its window is dropped rather than firing hours late.
    if (snoozeWaits && snoozeAt.toMSecsSinceEpoch() < nowMsec && !isDue(snoozeAt))
        cancelSnooze();

    for (const Candidate &candidate : due) {
        if (playing && !candidate.alarm->interrupt) {
            if (candidate.snooze)
                snoozePassedOver = true;
            else
                passedOver.insert(keyOf(candidate.scheduled));
            continue;
        }
        Firing firing;
        firing.alarm = candidate.alarm;
        firing.scheduled = candidate.scheduled;
        firing.snooze = candidate.snooze;
        if (!candidate.snooze)
            fired.insert(keyOf(candidate.scheduled));
        forgetOldFirings(now);
        // Whatever fires now supersedes a snooze still waiting. The snoozed copy
        // itself is handed out, so it is only let go at the next snooze or cancel.
        if (!candidate.snooze)
            cancelSnooze();
        else
            snoozeAt = QDateTime();
        return firing;
    }
    return Firing();
}

void alarmSchedule::snooze(const alarmOne &alarm, const QDateTime &now, int minutes)
{
    auto copy = std::make_unique<alarmOne>();
    copy->assign(alarm);
    snoozed = std::move(copy);
    snoozeAt = now.addSecs(qint64(qMax(1, minutes)) * 60);
    snoozePassedOver = false;
}

void alarmSchedule::cancelSnooze()
{
    snoozed.reset();
    snoozeAt = QDateTime();
    snoozePassedOver = false;
}

QDateTime alarmSchedule::snoozeDue() const
{
    return snoozed ? snoozeAt : QDateTime(); // invalid once the snooze has fired
}

void alarmSchedule::renamePlayList(const QString &from, const QString &to)
{
    if (snoozed && snoozed->playListName == from)
        snoozed->playListName = to;
}

QDateTime alarmSchedule::nextFiring(const alarmList *alarms, bool enabled, const QDateTime &now) const
{
    if (!enabled || !now.isValid())
        return QDateTime();
    QDateTime next = snoozePassedOver ? QDateTime() : snoozeDue();
    if (!alarms)
        return next;
    const qint64 nowMsec = now.toMSecsSinceEpoch();
    for (const alarmOne *alarm : *alarms) {
        if (!alarm || !alarm->enabled)
            continue;
        // Eight days: today's occurrence may have passed, the same weekday next week has not.
        for (int ahead = 0; ahead <= 7; ++ahead) {
            const QDateTime at = occurrenceOn(*alarm, now.date().addDays(ahead), now);
            if (!at.isValid() || at.toMSecsSinceEpoch() + minuteMsec <= nowMsec || alreadyFired(at)
                || passedOver.contains(keyOf(at)))
                continue;
            if (!next.isValid() || at < next)
                next = at;
            break;
        }
    }
    return next;
}

QString alarmSchedule::nextAlarmText(const QDateTime &next, bool unsaved)
{
    const QString prefix = unsaved ? QCoreApplication::translate("alarmSchedule", "次のアラーム（未保存）：")
                                   : QCoreApplication::translate("alarmSchedule", "次のアラーム：");
    if (!next.isValid())
        return prefix + QCoreApplication::translate("alarmSchedule", "なし");
    static const char *const weekdays[] = {
        QT_TRANSLATE_NOOP("alarmSchedule", "月"), QT_TRANSLATE_NOOP("alarmSchedule", "火"),
        QT_TRANSLATE_NOOP("alarmSchedule", "水"), QT_TRANSLATE_NOOP("alarmSchedule", "木"),
        QT_TRANSLATE_NOOP("alarmSchedule", "金"), QT_TRANSLATE_NOOP("alarmSchedule", "土"),
        QT_TRANSLATE_NOOP("alarmSchedule", "日")};
    const QDate day = next.date();
    return prefix
        + QCoreApplication::translate("alarmSchedule", "%1/%2(%3) %4")
              .arg(day.month())
              .arg(day.day())
              .arg(QCoreApplication::translate("alarmSchedule", weekdays[day.dayOfWeek() - 1]))
              .arg(next.time().toString(QStringLiteral("HH:mm")));
}
