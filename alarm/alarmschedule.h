#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>

#include <memory>

class alarmList;
class alarmOne;

// Which alarm occurrence is due at a given wall-clock moment. It remembers
// when it last looked, so minutes that passed while the machine slept (or the
// clock was stepped forwards) are caught up, and it remembers each firing by
// its date and time, so no occurrence ever fires twice.
class alarmSchedule
{
public:
    struct Firing
    {
        const alarmOne *alarm = nullptr; // null: nothing is due
        QDateTime scheduled;             // the minute the occurrence belongs to
        bool snooze = false;
        explicit operator bool() const { return alarm != nullptr; }
    };

    alarmSchedule();
    ~alarmSchedule();

    // How far back a missed occurrence still fires; 0 turns catching up off.
    void setCatchUpMinutes(int minutes);
    int catchUpMinutes() const;

    // The once-a-second check. Returns the occurrence to fire now (already
    // recorded as fired), or nothing. `enabled` is the all-alarms switch.
    Firing check(const alarmList *alarms, bool enabled, const QDateTime &now, bool playing);

    // Fires a copy of `alarm` again `minutes` after `now`; replaces any earlier snooze.
    void snooze(const alarmOne &alarm, const QDateTime &now, int minutes);
    void cancelSnooze();
    QDateTime snoozeDue() const; // invalid when no snooze waits
    // A saved playlist was renamed: the snoozed alarm keeps to it.
    void renamePlayList(const QString &from, const QString &to);

    // The next occurrence that will fire after `now` (or is due in the current
    // minute and has not fired), snooze included; invalid when none will.
    QDateTime nextFiring(const alarmList *alarms, bool enabled, const QDateTime &now) const;

    // "次のアラーム：12/9(水) 07:00", or "次のアラーム：なし" for an invalid moment;
    // "次のアラーム（未保存）：…" for alarms that are edited but not yet in effect.
    static QString nextAlarmText(const QDateTime &next, bool unsaved = false);

    // The moment `alarm` is due on `day`, in the time zone of `zoneOf`; a time
    // the clocks skip on that day moves to the first minute after the gap.
    // Invalid when the alarm is not active on that weekday or its time is no time of day.
    static QDateTime occurrenceOn(const alarmOne &alarm, const QDate &day, const QDateTime &zoneOf);

private:
    bool alreadyFired(const QDateTime &scheduled) const;
    void forgetOldFirings(const QDateTime &now);

    int catchUp = 60;
    QDateTime lastCheck;
    QSet<QString> fired; // local "yyyy-MM-dd HH:mm" of every occurrence that fired
    // Occurrences left out because music played and they do not interrupt:
    // no longer "next", though one still fires if the music stops in its minute.
    QSet<QString> passedOver;
    bool snoozePassedOver = false;
    std::unique_ptr<alarmOne> snoozed;
    QDateTime snoozeAt;
};
