// The alarm records: the value lists the choosers offer, and the list's ownership rules.
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"

#include <QPointer>
#include <QTest>

#include <stdexcept>

class tst_AlarmList : public QObject
{
    Q_OBJECT

private slots:
    void valueLists_data();
    void valueLists();
    void numberedPlayModes();
    void newAlarmIsBlank();
    void atRefusesOutOfRange();
    void clearKeepsAlarmsAliveUntilListDies();
};

void tst_AlarmList::valueLists_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected");

    QStringList hours;
    for (int h = 0; h < 24; ++h)
        hours << QString::asprintf("%02d", h);
    QStringList minutes;
    for (int m = 0; m < 60; ++m)
        minutes << QString::asprintf("%02d", m);
    QStringList volumes{QStringLiteral("しない")};
    for (int v = 0; v <= 100; v += 5)
        volumes << QString::number(v);
    QStringList fades{QStringLiteral("しない")};
    for (int n = 1; n <= 10; ++n)
        fades << QStringLiteral("フェードイン：%1分").arg(n);

    QTest::newRow("hours") << alarmList::hourItems() << hours;
    QTest::newRow("minutes") << alarmList::minuteItems() << minutes;
    QTest::newRow("playlists") << alarmList::playListItems()
                               << QStringList{QStringLiteral("標準プレイリスト")};
    QTest::newRow("modes, no tracks")
        << alarmList::playModeItems(0)
        << QStringList{QStringLiteral("リピートなし"), QStringLiteral("1曲リピート"),
                       QStringLiteral("全曲リピート(>>)"), QStringLiteral("全曲リピート(<<)"),
                       QStringLiteral("ランダム"), QStringLiteral("シャッフル"),
                       QStringLiteral("リピートなし：ランダム")};
    QTest::newRow("volumes") << alarmList::volumeItems() << volumes;
    QTest::newRow("fade-ins") << alarmList::volumeControlItems() << fades;
}

void tst_AlarmList::valueLists()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);
    QCOMPARE(items, expected);
}

void tst_AlarmList::numberedPlayModes()
{
    const QStringList items = alarmList::playModeItems(12);
    QCOMPARE(items.size(), 7 + 12);
    QCOMPARE(items.mid(0, 7), alarmList::playModeItems(0));
    for (int k = 1; k <= 12; ++k)
        QCOMPARE(items.at(6 + k), QStringLiteral("リピートなし：") + QString::number(k));
}

void tst_AlarmList::newAlarmIsBlank()
{
    alarmOne alarm;
    QVERIFY(!alarm.enabled);
    QVERIFY(!alarm.firstPlay);
    QVERIFY(!alarm.interrupt);
    for (bool day : alarm.week)
        QVERIFY(!day);
    QVERIFY(alarm.hour.isEmpty());
    QVERIFY(alarm.minute.isEmpty());
    QVERIFY(alarm.playListName.isEmpty());
    QVERIFY(alarm.playMode.isEmpty());
    QVERIFY(alarm.volume.isEmpty());
    QVERIFY(alarm.volumeControl.isEmpty());
}

void tst_AlarmList::atRefusesOutOfRange()
{
    alarmList list;
    QVERIFY_EXCEPTION_THROWN(list.at(0), std::out_of_range);
    auto *first = new alarmOne(&list);
    auto *second = new alarmOne(&list);
    list.append(first);
    list.append(second);
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0), first);
    QCOMPARE(list.at(1), second);
    QVERIFY_EXCEPTION_THROWN(list.at(2), std::out_of_range);
    QVERIFY_EXCEPTION_THROWN(list.at(-1), std::out_of_range);

    QList<alarmOne *> walked;
    for (alarmOne *alarm : list)
        walked << alarm;
    QCOMPARE(walked, (QList<alarmOne *>{first, second}));
}

void tst_AlarmList::clearKeepsAlarmsAliveUntilListDies()
{
    auto *list = new alarmList;
    QPointer<alarmOne> dropped = new alarmOne(list);
    list->append(dropped);
    list->clear();
    QCOMPARE(list->size(), 0);
    QVERIFY(!dropped.isNull());

    // One alarm only a child, one held: each goes exactly once (the sanitizer
    // build would catch a double delete).
    QPointer<alarmOne> held = new alarmOne(list);
    list->append(held);
    delete list;
    QVERIFY(dropped.isNull());
    QVERIFY(held.isNull());
}

QTEST_MAIN(tst_AlarmList)
#include "tst_alarmlist.moc"
