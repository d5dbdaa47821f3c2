// Which occurrence fires when: on time, after sleep or clock jumps, across
// daylight-saving changes, snoozed; and what the next-alarm text says.
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "alarm/alarmschedule.h"

#include <QTest>
#include <QTimeZone>

#include <memory>

namespace {

struct Setup
{
    QString time;
    QString days = QStringLiteral("0123456");
    bool enabled = true;
    bool interrupt = true;
};

std::unique_ptr<alarmList> makeList(const QList<Setup> &setups)
{
    auto list = std::make_unique<alarmList>();
    for (const Setup &setup : setups) {
        auto *alarm = new alarmOne(list.get());
        alarm->enabled = setup.enabled;
        alarm->hour = setup.time.section(QLatin1Char(':'), 0, 0);
        alarm->minute = setup.time.section(QLatin1Char(':'), 1, 1);
        for (const QChar day : setup.days)
            alarm->week[day.digitValue()] = true;
        alarm->interrupt = setup.interrupt;
        alarm->playMode = setup.time; // tells the firings apart
        list->append(alarm);
    }
    return list;
}

// 2024-01-01 was a Monday.
QDateTime mon(const QString &hhmmss, int addDays = 0)
{
    return QDateTime(QDate(2024, 1, 1).addDays(addDays), QTime::fromString(hhmmss, QStringLiteral("HH:mm:ss")));
}

QString describe(const alarmSchedule::Firing &firing)
{
    return firing.scheduled.toString(QStringLiteral("ddd HH:mm")) + QLatin1Char(' ') + firing.alarm->playMode
        + (firing.snooze ? QStringLiteral(" snooze") : QString());
}

} // namespace

Q_DECLARE_METATYPE(Setup)

using Moments = QList<QDateTime>;

class tst_AlarmSchedule : public QObject
{
    Q_OBJECT

private slots:
    void jumps_data();
    void jumps();
    void stoppedOccurrenceStaysStopped();
    void interruptOffSkipsWhilePlaying();
    void daylightSaving_data();
    void daylightSaving();
    void skippedTimeMovesToGapEnd();
    void snoozeFiresAfterItsMinutes();
    void secondSnoozeReplacesFirst();
    void nextAlarmText_data();
    void nextAlarmText();
    void badTextsNeverFireTwice();
    void nextMovesOnPastAnOccurrence_data();
    void nextMovesOnPastAnOccurrence();

private:
    QStringList run(alarmSchedule &schedule, const alarmList *list, const Moments &ticks,
                    bool playing = false);
};

QStringList tst_AlarmSchedule::run(alarmSchedule &schedule, const alarmList *list, const Moments &ticks,
                                   bool playing)
{
    QStringList fired;
    for (const QDateTime &tick : ticks) {
        const alarmSchedule::Firing firing = schedule.check(list, true, tick, playing);
        if (firing)
            fired << describe(firing);
    }
    return fired;
}

Moments every(const QDateTime &from, const QDateTime &to, int seconds)
{
    Moments ticks;
    for (QDateTime t = from; t <= to; t = t.addSecs(seconds))
        ticks << t;
    return ticks;
}

void tst_AlarmSchedule::jumps_data()
{
    QTest::addColumn<QList<Setup>>("alarms");
    QTest::addColumn<int>("window");
    QTest::addColumn<Moments>("ticks");
    QTest::addColumn<QStringList>("expected");

    const QList<Setup> seven = {{"07:00"}};
    const QList<Setup> two = {{"07:00"}, {"07:03"}};
    const Moments asleep = {mon("06:58:00"), mon("07:05:00"), mon("07:05:01"), mon("07:05:02")};
    QTest::newRow("slept across one") << seven << 60 << asleep << QStringList{"Mon 07:00 07:00"};
    QTest::newRow("slept across two: the later") << two << 60 << asleep << QStringList{"Mon 07:03 07:03"};
    QTest::newRow("window off") << seven << 0 << asleep << QStringList();
    QTest::newRow("exactly at the window's edge")
        << seven << 60 << Moments{mon("06:58:00"), mon("08:00:00")} << QStringList{"Mon 07:00 07:00"};
    QTest::newRow("beyond the window")
        << seven << 60 << Moments{mon("06:58:00"), mon("08:00:01"), mon("08:00:02")} << QStringList();
    QTest::newRow("short window") << seven << 15 << Moments{mon("06:58:00"), mon("07:16:00")} << QStringList();
    QTest::newRow("lid closed for a week: the most recent one")
        << QList<Setup>{{"07:00"}, {"07:20"}, {"09:00"}} << 60
        << Moments{mon("06:58:00"), mon("07:30:00", 7), mon("07:30:01", 7)} << QStringList{"Mon 07:20 07:20"};
    QTest::newRow("started inside the minute: on time")
        << seven << 60 << Moments{mon("07:00:30"), mon("07:00:31")} << QStringList{"Mon 07:00 07:00"};
    QTest::newRow("started after the minute: no catching up")
        << seven << 60 << Moments{mon("07:05:00"), mon("07:05:01")} << QStringList();
    QTest::newRow("ticks through the minute fire once")
        << seven << 60 << every(mon("06:59:50"), mon("07:01:10"), 1) << QStringList{"Mon 07:00 07:00"};
    QTest::newRow("clock stepped back across a fired minute")
        << seven << 60
        << (every(mon("06:59:58"), mon("07:00:30"), 1) + every(mon("06:58:00"), mon("07:02:00"), 1))
        << QStringList{"Mon 07:00 07:00"};
    QTest::newRow("same minute twice: first in list")
        << QList<Setup>{{"07:00"}, {"07:00"}} << 60 << asleep << QStringList{"Mon 07:00 07:00"};
    QTest::newRow("weekday of the occurrence, not of the wake-up")
        << QList<Setup>{{"23:50", "0"}} << 60 << Moments{mon("23:40:00"), mon("00:10:00", 1)}
        << QStringList{"Mon 23:50 23:50"};
    QTest::newRow("disabled and dayless alarms never fire")
        << QList<Setup>{{"07:00", "0123456", false}, {"07:01", ""}} << 60 << asleep << QStringList();
}

void tst_AlarmSchedule::jumps()
{
    QFETCH(QList<Setup>, alarms);
    QFETCH(int, window);
    QFETCH(Moments, ticks);
    QFETCH(QStringList, expected);
    const auto list = makeList(alarms);
    alarmSchedule schedule;
    schedule.setCatchUpMinutes(window);
    QCOMPARE(run(schedule, list.get(), ticks), expected);
}

void tst_AlarmSchedule::stoppedOccurrenceStaysStopped()
{
    // Whatever happens in the rest of the minute (the player stopped by the
    // user, nothing playing any more), the occurrence does not come back.
    const auto list = makeList({{"07:00"}});
    alarmSchedule schedule;
    QCOMPARE(run(schedule, list.get(), {mon("07:00:00")}).size(), 1);
    QCOMPARE(run(schedule, list.get(), every(mon("07:00:01"), mon("07:00:59"), 1), false), QStringList());
    // Nor does a switch turned off and on again.
    QVERIFY(!schedule.check(list.get(), false, mon("07:00:59"), false));
    QCOMPARE(run(schedule, list.get(), {mon("07:00:59")}), QStringList());
}

void tst_AlarmSchedule::interruptOffSkipsWhilePlaying()
{
    const auto list = makeList({{"07:00", "0123456", true, false}});
    alarmSchedule schedule;
    QCOMPARE(run(schedule, list.get(), {mon("06:58:00"), mon("07:05:00")}, true), QStringList());
    // Stopped within its minute, it fires at the next check.
    alarmSchedule onTime;
    QCOMPARE(run(onTime, list.get(), every(mon("07:00:00"), mon("07:00:05"), 1), true), QStringList());
    QCOMPARE(run(onTime, list.get(), {mon("07:00:06")}, false), QStringList{"Mon 07:00 07:00"});
}

void tst_AlarmSchedule::daylightSaving_data()
{
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("expected");
    const QTimeZone berlin("Europe/Berlin");
    // 2024-03-31: 02:00 CET becomes 03:00 CEST. 2024-10-27: 03:00 CEST becomes 02:00 CET.
    const QDateTime springFrom(QDate(2024, 3, 31), QTime(1, 50), berlin);
    const QDateTime springTo(QDate(2024, 3, 31), QTime(3, 10), berlin);
    const QDateTime autumnFrom(QDate(2024, 10, 27), QTime(1, 50), berlin);
    const QDateTime autumnTo = autumnFrom.addSecs(3 * 3600); // 03:50 CET
    QTest::newRow("skipped time fires after the gap") << springFrom << springTo << "02:30"
                                                      << QStringList{"Sun 03:00 02:30"};
    QTest::newRow("gap end and skipped time share a minute")
        << springFrom << springTo << "03:00" << QStringList{"Sun 03:00 02:30"}; // one firing a minute, list order
    QTest::newRow("repeated hour fires once") << autumnFrom << autumnTo << "02:30"
                                              << QStringList{"Sun 02:30 02:30"};
    QTest::newRow("hour after the repeat") << autumnFrom << autumnTo << "03:15" << QStringList{"Sun 03:15 03:15"};
}

void tst_AlarmSchedule::daylightSaving()
{
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(QString, time);
    QFETCH(QStringList, expected);
    QVERIFY(from.isValid() && from.timeSpec() == Qt::TimeZone);
    const auto list = makeList(time == QLatin1String("03:00") ? QList<Setup>{{"02:30"}, {"03:00"}}
                                                              : QList<Setup>{{time}});
    alarmSchedule schedule;
    Moments ticks;
    for (qint64 ms = from.toMSecsSinceEpoch(); ms <= to.toMSecsSinceEpoch(); ms += 5000)
        ticks << QDateTime::fromMSecsSinceEpoch(ms, from.timeZone());
    QCOMPARE(run(schedule, list.get(), ticks), expected);
}

void tst_AlarmSchedule::skippedTimeMovesToGapEnd()
{
    const auto list = makeList({{"02:30", "6"}});
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime zone(QDate(2024, 3, 1), QTime(0, 0), berlin);
    QCOMPARE(alarmSchedule::occurrenceOn(*list->at(0), QDate(2024, 3, 31), zone),
             QDateTime(QDate(2024, 3, 31), QTime(3, 0), berlin));
    QCOMPARE(alarmSchedule::occurrenceOn(*list->at(0), QDate(2024, 3, 24), zone),
             QDateTime(QDate(2024, 3, 24), QTime(2, 30), berlin));
    QVERIFY(!alarmSchedule::occurrenceOn(*list->at(0), QDate(2024, 3, 30), zone).isValid()); // Saturday
}

void tst_AlarmSchedule::snoozeFiresAfterItsMinutes()
{
    const auto list = makeList({{"07:00"}});
    alarmSchedule schedule;
    const alarmSchedule::Firing first = schedule.check(list.get(), true, mon("07:00:10"), false);
    QVERIFY(first);
    schedule.snooze(*first.alarm, mon("07:00:20"), 10);
    QCOMPARE(schedule.nextFiring(list.get(), true, mon("07:00:21")), mon("07:10:20"));
    QCOMPARE(run(schedule, list.get(), every(mon("07:00:21"), mon("07:10:19"), 1)), QStringList());
    QCOMPARE(run(schedule, list.get(), every(mon("07:10:20"), mon("07:12:00"), 1)),
             QStringList{"Mon 07:10 07:00 snooze"});
    // Back to the alarm itself: tomorrow.
    QCOMPARE(schedule.nextFiring(list.get(), true, mon("07:12:00")), mon("07:00:00", 1));
    // A snooze asleep through is caught up like an occurrence, within the window.
    schedule.snooze(*list->at(0), mon("07:20:00"), 5);
    QCOMPARE(run(schedule, list.get(), {mon("07:24:00"), mon("07:40:00")}), QStringList{"Mon 07:25 07:00 snooze"});
    schedule.snooze(*list->at(0), mon("07:50:00"), 5);
    QCOMPARE(run(schedule, list.get(), {mon("07:51:00"), mon("09:00:00")}), QStringList());
    QVERIFY(!schedule.snoozeDue().isValid());
}

void tst_AlarmSchedule::secondSnoozeReplacesFirst()
{
    const auto list = makeList({{"07:00"}, {"07:01"}});
    alarmSchedule schedule;
    schedule.snooze(*list->at(0), mon("07:00:00"), 5);
    schedule.snooze(*list->at(1), mon("07:02:00"), 10);
    QCOMPARE(schedule.snoozeDue(), mon("07:12:00"));
    QCOMPARE(run(schedule, list.get(), every(mon("07:04:00"), mon("07:13:00"), 1)),
             QStringList{"Mon 07:12 07:01 snooze"});
}

void tst_AlarmSchedule::nextAlarmText_data()
{
    QTest::addColumn<QList<Setup>>("alarms");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("expected");
    // 2026-12-09 is a Wednesday.
    const QDateTime morning(QDate(2026, 12, 9), QTime(6, 0));
    const QDateTime later(QDate(2026, 12, 9), QTime(8, 0));
    QTest::newRow("today, later") << QList<Setup>{{"07:00", "2"}} << true << morning
                                  << "次のアラーム：12/9(水) 07:00";
    QTest::newRow("today, passed") << QList<Setup>{{"07:00", "2"}} << true << later
                                   << "次のアラーム：12/16(水) 07:00";
    QTest::newRow("in its minute") << QList<Setup>{{"08:00", "2"}} << true << later.addSecs(30)
                                   << "次のアラーム：12/9(水) 08:00";
    QTest::newRow("only Sunday") << QList<Setup>{{"09:30", "6"}} << true << later << "次のアラーム：12/13(日) 09:30";
    QTest::newRow("earliest of several") << QList<Setup>{{"09:30", "6"}, {"23:59", "3"}, {"06:00", "4"}}
                                         << true << later << "次のアラーム：12/10(木) 23:59";
    QTest::newRow("Sunday into Monday") << QList<Setup>{{"00:00", "0"}} << true
                                        << QDateTime(QDate(2026, 12, 13), QTime(23, 59, 59))
                                        << "次のアラーム：12/14(月) 00:00";
    QTest::newRow("across the year") << QList<Setup>{{"07:00", "4"}} << true
                                     << QDateTime(QDate(2026, 12, 31), QTime(7, 1)) << "次のアラーム：1/1(金) 07:00";
    QTest::newRow("switch off") << QList<Setup>{{"07:00"}} << false << morning << "次のアラーム：なし";
    QTest::newRow("no weekday") << QList<Setup>{{"07:00", ""}} << true << morning << "次のアラーム：なし";
    QTest::newRow("disabled") << QList<Setup>{{"07:00", "0123456", false}} << true << morning << "次のアラーム：なし";
    QTest::newRow("no alarm") << QList<Setup>{} << true << morning << "次のアラーム：なし";
}

void tst_AlarmSchedule::nextAlarmText()
{
    QFETCH(QList<Setup>, alarms);
    QFETCH(bool, enabled);
    QFETCH(QDateTime, now);
    QFETCH(QString, expected);
    const auto list = makeList(alarms);
    alarmSchedule schedule;
    QCOMPARE(alarmSchedule::nextAlarmText(schedule.nextFiring(list.get(), enabled, now)), expected);
}

void tst_AlarmSchedule::badTextsNeverFireTwice()
{
    // Hand-edited texts: empty means 00, letters mean 0, out of range never fires.
    auto list = makeList({{"", "0"}, {"xx:yy", "0"}, {"25:00", "0"}, {"07:75", "0"}});
    alarmSchedule schedule;
    const Moments ticks = every(mon("23:00:00", -1), mon("00:00:30"), 30) + Moments{mon("00:30:00"), mon("08:00:00")};
    QCOMPARE(run(schedule, list.get(), ticks), QStringList{"Mon 00:00 "});
    QCOMPARE(run(schedule, list.get(), every(mon("23:58:00", -1), mon("00:02:00"), 1)), QStringList());
}

void tst_AlarmSchedule::nextMovesOnPastAnOccurrence_data()
{
    QTest::addColumn<bool>("interrupt");
    QTest::addColumn<QString>("what"); // what happens at 07:00 and after
    QTest::addColumn<QDateTime>("next"); // as seen at 07:00:30 or in the snooze's minute
    QTest::newRow("passed over: music plays, no interrupt") << false << "passed" << mon("07:00:00", 1);
    QTest::newRow("fired and stopped") << true << "fired" << mon("07:00:00", 1);
    QTest::newRow("snoozed for 10 minutes") << true << "snoozed" << mon("07:10:00");
    QTest::newRow("snooze passed over") << false << "snooze passed" << mon("07:00:00", 1);
    QTest::newRow("snooze fired") << true << "snooze fired" << mon("07:00:00", 1);
}

void tst_AlarmSchedule::nextMovesOnPastAnOccurrence()
{
    QFETCH(bool, interrupt);
    QFETCH(QString, what);
    QFETCH(QDateTime, next);
    const auto list = makeList({{"07:00", "0123456", true, interrupt}});
    alarmSchedule schedule;
    QCOMPARE(schedule.nextFiring(list.get(), true, mon("06:59:00")), mon("07:00:00"));
    QDateTime seenAt = mon("07:00:30");
    if (what == QLatin1String("passed")) {
        QVERIFY(!schedule.check(list.get(), true, mon("07:00:00"), true));
    } else if (what == QLatin1String("fired")) {
        QVERIFY(schedule.check(list.get(), true, mon("07:00:00"), false));
    } else {
        // Snoozed from the ringing occurrence, which needs music not to play.
        const alarmSchedule::Firing firing = schedule.check(list.get(), true, mon("07:00:00"), false);
        QVERIFY(firing);
        schedule.snooze(*firing.alarm, mon("07:00:00"), 10);
        if (what != QLatin1String("snoozed")) {
            const bool playing = what == QLatin1String("snooze passed");
            QCOMPARE(bool(schedule.check(list.get(), true, mon("07:10:00"), playing)), !playing);
            seenAt = mon("07:10:30");
        }
    }
    QCOMPARE(schedule.nextFiring(list.get(), true, seenAt), next);
}

QTEST_MAIN(tst_AlarmSchedule)
#include "tst_alarmschedule.moc"
