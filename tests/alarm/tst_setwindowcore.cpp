// The alarm table: rows built from alarms, alarms read back from rows, and the row operations.
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "alarm/setwindowcore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QTableWidget>
#include <QTest>

namespace {

struct AlarmValues
{
    bool enabled;
    QString hour;
    QString minute;
    QString week; // digits 0 (Monday) .. 6 (Sunday)
    QString playList;
    QString mode;
    bool firstPlay;
    bool interrupt;
    QString volume;
    QString control;
};

alarmOne *makeAlarm(QObject *parent, const AlarmValues &v)
{
    auto *alarm = new alarmOne(parent);
    alarm->enabled = v.enabled;
    alarm->hour = v.hour;
    alarm->minute = v.minute;
    for (int day = 0; day < 7; ++day)
        alarm->week[day] = v.week.contains(QChar('0' + day));
    alarm->playListName = v.playList;
    alarm->playMode = v.mode;
    alarm->firstPlay = v.firstPlay;
    alarm->interrupt = v.interrupt;
    alarm->volume = v.volume;
    alarm->volumeControl = v.control;
    return alarm;
}

AlarmValues valuesOf(const alarmOne *alarm)
{
    QString week;
    for (int day = 0; day < 7; ++day)
        if (alarm->week[day])
            week += QChar('0' + day);
    return {alarm->enabled, alarm->hour, alarm->minute, week, alarm->playListName, alarm->playMode,
            alarm->firstPlay, alarm->interrupt, alarm->volume, alarm->volumeControl};
}

QString describe(const AlarmValues &v)
{
    return QStringList{v.enabled ? "on" : "off", v.hour, v.minute, v.week, v.playList, v.mode,
                       v.firstPlay ? "first" : "next", v.interrupt ? "interrupt" : "wait",
                       v.volume, v.control}
        .join('|');
}

// Only the length of the track list matters to the alarm table.
QList<musicInfo *> fakeTracks(int count)
{
    QList<musicInfo *> tracks;
    for (int i = 0; i < count; ++i)
        tracks << nullptr;
    return tracks;
}

const QString standard = QStringLiteral("標準プレイリスト");
const QString none = QStringLiteral("しない");

} // namespace

Q_DECLARE_METATYPE(AlarmValues)

class tst_SetWindowCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void blankRowReadsBackDefaults();
    void rowCellWidgets();
    void roundTrip();
    void unknownTextsFallBackToFirstItem_data();
    void unknownTextsFallBackToFirstItem();
    void numberedModeFollowsTrackCount();
    void removeRows_data();
    void removeRows();
    void fillTableRebuildsRows();
    void readTableKeepsDroppedAlarmsAlive();
    void replaceAlarmList();
    void withoutTableNothingBreaks();

private:
    QTableWidget *table = nullptr;
    setWindowCore *core = nullptr;
};

void tst_SetWindowCore::init()
{
    table = new QTableWidget(0, 16);
    core = new setWindowCore;
    core->setTable(table);
}

void tst_SetWindowCore::cleanup()
{
    delete core;
    delete table;
}

void tst_SetWindowCore::blankRowReadsBackDefaults()
{
    core->addBlankRow();
    QCOMPARE(core->rowCount(), 1);
    core->readTable();
    QCOMPARE(core->alarms->size(), 1);
    const AlarmValues expected{true, "00", "00", "", standard, QStringLiteral("リピートなし"),
                               false, false, none, none};
    QCOMPARE(describe(valuesOf(core->alarms->at(0))), describe(expected));
}

void tst_SetWindowCore::rowCellWidgets()
{
    core->setTrackList(fakeTracks(3));
    core->addBlankRow();
    const QList<int> checks{0, 3, 4, 5, 6, 7, 8, 9, 12, 13};
    const QList<QPair<int, int>> choosers{{1, 24}, {2, 60}, {10, 1}, {11, 7 + 3}, {14, 22}, {15, 11}};
    for (int column : checks)
        QVERIFY2(qobject_cast<QCheckBox *>(table->cellWidget(0, column)), qPrintable(QString::number(column)));
    for (const auto &chooser : choosers) {
        auto *box = qobject_cast<QComboBox *>(table->cellWidget(0, chooser.first));
        QVERIFY2(box, qPrintable(QString::number(chooser.first)));
        QCOMPARE(box->count(), chooser.second);
        QCOMPARE(box->currentIndex(), 0);
    }
    // Each row gets choosers of its own.
    core->addBlankRow();
    QVERIFY(table->cellWidget(1, 11) != table->cellWidget(0, 11));
    QCOMPARE(qobject_cast<QComboBox *>(table->cellWidget(1, 11))->count(), 10);
}

void tst_SetWindowCore::roundTrip()
{
    core->setTrackList(fakeTracks(12));
    const QList<AlarmValues> values{
        {true, "06", "30", "01234", standard, QStringLiteral("全曲リピート(<<)"), true, false,
         "80", QStringLiteral("フェードイン：5分")},
        {false, "23", "59", "56", standard, QStringLiteral("リピートなし：12"), false, true, "0",
         none},
        {true, "00", "00", "", standard, QStringLiteral("リピートなし：ランダム"), true, true, none,
         QStringLiteral("フェードイン：10分")},
    };
    auto *source = new alarmList;
    for (const AlarmValues &v : values)
        source->append(makeAlarm(source, v));
    core->replaceAlarmList(source);

    core->fillTable();
    QCOMPARE(core->rowCount(), values.size());
    core->readTable();
    QCOMPARE(core->alarms, source);
    QCOMPARE(core->alarms->size(), values.size());
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(describe(valuesOf(core->alarms->at(i))), describe(values.at(i)));
}

void tst_SetWindowCore::unknownTextsFallBackToFirstItem_data()
{
    QTest::addColumn<AlarmValues>("stored");
    QTest::addColumn<AlarmValues>("expected");

    const AlarmValues good{true, "07", "05", "0", standard, QStringLiteral("シャッフル"), false,
                           false, "50", QStringLiteral("フェードイン：2分")};
    AlarmValues oneDigitHour = good;
    oneDigitHour.hour = "7";
    AlarmValues expectHour = good;
    expectHour.hour = "00";
    QTest::newRow("hour 7") << oneDigitHour << expectHour;

    AlarmValues emptyMinute = good;
    emptyMinute.minute = "";
    AlarmValues expectMinute = good;
    expectMinute.minute = "00";
    QTest::newRow("empty minute") << emptyMinute << expectMinute;

    AlarmValues otherList = good;
    otherList.playList = QStringLiteral("朝の曲");
    // A playlist that is not saved (any more) stays the alarm's choice: it
    // rings with the main window's list and says so.
    QTest::newRow("unknown playlist") << otherList << otherList;

    AlarmValues caseMode = good;
    caseMode.mode = QStringLiteral("random");
    AlarmValues expectMode = good;
    expectMode.mode = QStringLiteral("リピートなし");
    QTest::newRow("unknown mode") << caseMode << expectMode;

    AlarmValues oddVolume = good;
    oddVolume.volume = "42";
    oddVolume.control = QStringLiteral("フェードイン：0分");
    AlarmValues expectVolume = good;
    expectVolume.volume = none;
    expectVolume.control = none;
    QTest::newRow("volume 42, fade 0") << oddVolume << expectVolume;

    AlarmValues spaced = good;
    spaced.volume = " 50";
    AlarmValues expectSpaced = good;
    expectSpaced.volume = none;
    QTest::newRow("volume with a space") << spaced << expectSpaced;
}

void tst_SetWindowCore::unknownTextsFallBackToFirstItem()
{
    QFETCH(AlarmValues, stored);
    QFETCH(AlarmValues, expected);
    alarmOne *alarm = makeAlarm(core->alarms, stored);
    core->alarms->append(alarm);
    core->fillTable();
    core->readTable();
    QCOMPARE(core->alarms->size(), 1);
    QCOMPARE(describe(valuesOf(core->alarms->at(0))), describe(expected));
}

void tst_SetWindowCore::numberedModeFollowsTrackCount()
{
    AlarmValues v{true, "08", "00", "0", standard, QStringLiteral("リピートなし：12"), false,
                  false, none, none};
    core->alarms->append(makeAlarm(core->alarms, v));

    core->setTrackList(fakeTracks(5));
    core->fillTable();
    auto *mode = qobject_cast<QComboBox *>(table->cellWidget(0, 11));
    QCOMPARE(mode->count(), 7 + 5);
    QCOMPARE(mode->currentText(), QStringLiteral("リピートなし"));

    core->setTrackList(fakeTracks(12));
    core->fillTable();
    QCOMPARE(core->rowCount(), 1);
    mode = qobject_cast<QComboBox *>(table->cellWidget(0, 11));
    QCOMPARE(mode->currentText(), QStringLiteral("リピートなし：12"));

    core->setTrackList(fakeTracks(5));
    core->fillTable();
    core->readTable();
    QCOMPARE(core->alarms->at(0)->playMode, QStringLiteral("リピートなし"));
}

void tst_SetWindowCore::removeRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("remaining"); // hours of the rows left

    const QStringList all{"00", "01", "02", "03"};
    QTest::newRow("middle block") << 4 << 1 << 2 << true << QStringList{"00", "03"};
    QTest::newRow("one row") << 4 << 3 << 3 << true << QStringList{"00", "01", "02"};
    QTest::newRow("every row") << 4 << 0 << 3 << true << QStringList{};
    QTest::newRow("last past the end") << 4 << 2 << 5 << false << all;
    QTest::newRow("first past the end") << 4 << 4 << 4 << false << all;
    QTest::newRow("negative first") << 4 << -1 << 1 << false << all;
    QTest::newRow("first after last") << 4 << 2 << 1 << false << all;
    QTest::newRow("empty table") << 0 << 0 << 0 << false << QStringList{};
}

void tst_SetWindowCore::removeRows()
{
    QFETCH(int, rows);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, removed);
    QFETCH(QStringList, remaining);

    for (int i = 0; i < rows; ++i) {
        const AlarmValues v{true, QString::asprintf("%02d", i), "00", "", standard,
                            QStringLiteral("リピートなし"), false, false, none, none};
        core->alarms->append(makeAlarm(core->alarms, v));
    }
    core->fillTable();
    QCOMPARE(core->removeRows(first, last), removed);
    core->readTable();
    QStringList hours;
    for (const alarmOne *alarm : *core->alarms)
        hours << alarm->hour;
    QCOMPARE(hours, remaining);
    QCOMPARE(core->isEmpty(), remaining.isEmpty());
}

void tst_SetWindowCore::fillTableRebuildsRows()
{
    core->fillTable();
    QVERIFY(core->isEmpty());

    core->addBlankRow();
    core->addBlankRow();
    QCOMPARE(core->rowCount(), 2);
    // Unconfirmed rows go when the table is rebuilt from the (empty) working list.
    core->fillTable();
    QVERIFY(core->isEmpty());
    QCOMPARE(core->alarms->size(), 0);

    core->alarms->append(makeAlarm(core->alarms, {true, "09", "15", "", standard,
                                                   QStringLiteral("ランダム"), false, false, none,
                                                   none}));
    core->fillTable();
    core->fillTable();
    QCOMPARE(core->rowCount(), 1);
    QVERIFY(core->isValidRow(0));
    QVERIFY(!core->isValidRow(1));
    QVERIFY(!core->isValidRow(-1));
}

void tst_SetWindowCore::readTableKeepsDroppedAlarmsAlive()
{
    QPointer<alarmOne> old = makeAlarm(core->alarms, {true, "10", "00", "", standard,
                                                      QStringLiteral("ランダム"), false, false,
                                                      none, none});
    core->alarms->append(old);
    core->fillTable();
    core->clearRows();
    core->readTable();
    QCOMPARE(core->alarms->size(), 0);
    QVERIFY(!old.isNull());
}

void tst_SetWindowCore::replaceAlarmList()
{
    QPointer<alarmList> first = core->alarms;
    QVERIFY(first);
    QCOMPARE(first->parent(), core);

    core->replaceAlarmList(nullptr);
    QCOMPARE(core->alarms, first.data());

    core->replaceAlarmList(first);
    QVERIFY(!first.isNull());
    QCOMPARE(core->alarms, first.data());

    QObject loader;
    QPointer<alarmList> loaded = new alarmList(&loader);
    core->replaceAlarmList(loaded);
    QVERIFY(first.isNull());
    QCOMPARE(core->alarms, loaded.data());
    // The table manager owns it now, whoever loaded it.
    QCOMPARE(loaded->parent(), core);
}

void tst_SetWindowCore::withoutTableNothingBreaks()
{
    setWindowCore bare;
    bare.alarms->append(new alarmOne(bare.alarms));
    bare.addBlankRow();
    bare.fillTable();
    bare.readTable();
    bare.clearRows();
    QCOMPARE(bare.rowCount(), 0);
    QVERIFY(bare.isEmpty());
    QVERIFY(!bare.removeRows(0, 0));
    QCOMPARE(bare.alarms->size(), 1);
}

QTEST_MAIN(tst_SetWindowCore)
#include "tst_setwindowcore.moc"
