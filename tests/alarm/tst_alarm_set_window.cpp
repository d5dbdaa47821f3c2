// The bulk alarm dialog: a series of alarms from a start time, an interval and a count.
#include "alarm/alarm_set_window.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "alarm/setwindowcore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>

namespace {

const char *const dayBoxes[7] = {"check_mon", "check_tue", "check_wed", "check_thu",
                                 "check_fri", "check_sat", "check_sun"};

QList<musicInfo *> fakeTracks(int count)
{
    QList<musicInfo *> tracks;
    for (int i = 0; i < count; ++i)
        tracks << nullptr;
    return tracks;
}

} // namespace

class tst_AlarmSetWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void form();
    void seriesOfAlarms_data();
    void seriesOfAlarms();
    void copiesEveryChoice();
    void cancelChangesNothing();
    void dayToggles_data();
    void dayToggles();
    void choosersRefilledOnEachOpening();

private:
    template<typename T>
    T *child(const char *name)
    {
        T *found = dialog->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QString week() // digits of the checked days, 0 = Monday
    {
        QString days;
        for (int day = 0; day < 7; ++day)
            if (child<QCheckBox>(dayBoxes[day])->isChecked())
                days += QChar('0' + day);
        return days;
    }

    alarm_set_window *dialog = nullptr;
    QTableWidget *table = nullptr;
    setWindowCore *core = nullptr;
};

void tst_AlarmSetWindow::init()
{
    table = new QTableWidget(0, 16);
    core = new setWindowCore;
    core->setTable(table);
    dialog = new alarm_set_window;
    dialog->setModal(true);
}

void tst_AlarmSetWindow::cleanup()
{
    delete dialog;
    delete core;
    delete table;
}

void tst_AlarmSetWindow::form()
{
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Vurn Settings - アラーム一括設定"));
    // The drawn size, or more where the platform font needs it.
    QCOMPARE(dialog->size().expandedTo(QSize(409, 369)), dialog->size());
    QCOMPARE(child<QSpinBox>("intervalTime")->maximum(), 999);
    QCOMPARE(child<QSpinBox>("timeCount")->maximum(), 99);
    QCOMPARE(child<QSpinBox>("timeCount")->value(), 0);
    QCOMPARE(child<QTimeEdit>("timeEdit")->displayFormat(), QStringLiteral("HH:mm"));
    QCOMPARE(child<QPushButton>("checkButton_m_f")->text(), QStringLiteral("月～金"));
    QCOMPARE(child<QCheckBox>("check_interrupt")->text(), QStringLiteral("再生中でも割込再生する"));
    const QRect selectPlay = child<QCheckBox>("check_select_play")->geometry();
    QCOMPARE(selectPlay.left(), 10);
    QVERIFY(selectPlay.top() >= 130);
    QCOMPARE(selectPlay.size().expandedTo(QSize(161, 16)), selectPlay.size());
}

void tst_AlarmSetWindow::seriesOfAlarms_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("times");

    QTest::newRow("count 0") << QTime(7, 0) << 10 << 0 << QStringList{};
    QTest::newRow("past midnight") << QTime(23, 30) << 30 << 3
                                   << QStringList{"23:30", "00:00", "00:30"};
    QTest::newRow("interval 0") << QTime(6, 45) << 0 << 3 << QStringList{"06:45", "06:45", "06:45"};
    QTest::newRow("long interval") << QTime(12, 0) << 999 << 2 << QStringList{"12:00", "04:39"};
    QTest::newRow("one") << QTime(0, 0) << 5 << 1 << QStringList{"00:00"};
}

void tst_AlarmSetWindow::seriesOfAlarms()
{
    QFETCH(QTime, start);
    QFETCH(int, interval);
    QFETCH(int, count);
    QFETCH(QStringList, times);

    dialog->prepare(core);
    dialog->show();
    child<QTimeEdit>("timeEdit")->setTime(start);
    child<QSpinBox>("intervalTime")->setValue(interval);
    child<QSpinBox>("timeCount")->setValue(count);
    QTest::mouseClick(child<QPushButton>("pushButton"), Qt::LeftButton);

    QVERIFY(!dialog->isVisible());
    QStringList made;
    for (const alarmOne *alarm : *core->alarms) {
        made << alarm->hour + ':' + alarm->minute;
        QVERIFY(alarm->enabled);
        QCOMPARE(alarm->parent(), core->alarms);
    }
    QCOMPARE(made, times);
    // Every alarm also has its row, which reads back the same.
    QCOMPARE(core->rowCount(), times.size());
    core->readTable();
    QStringList read;
    for (const alarmOne *alarm : *core->alarms)
        read << alarm->hour + ':' + alarm->minute;
    QCOMPARE(read, times);
}

void tst_AlarmSetWindow::copiesEveryChoice()
{
    core->setTrackList(fakeTracks(4));
    dialog->prepare(core);
    child<QTimeEdit>("timeEdit")->setTime(QTime(5, 5));
    child<QSpinBox>("timeCount")->setValue(2);
    child<QCheckBox>("check_tue")->setChecked(true);
    child<QCheckBox>("check_sun")->setChecked(true);
    child<QCheckBox>("check_select_play")->setChecked(true);
    child<QComboBox>("modeBox")->setCurrentText(QStringLiteral("リピートなし：4"));
    child<QComboBox>("volumeListBox")->setCurrentText(QStringLiteral("35"));
    child<QComboBox>("volumeControlBox")->setCurrentText(QStringLiteral("フェードイン：7分"));
    QTest::mouseClick(child<QPushButton>("pushButton"), Qt::LeftButton);

    QCOMPARE(core->alarms->size(), 2);
    for (const alarmOne *alarm : *core->alarms) {
        QCOMPARE(alarm->hour, QStringLiteral("05"));
        QCOMPARE(alarm->minute, QStringLiteral("05"));
        const bool expectedWeek[7] = {false, true, false, false, false, false, true};
        for (int day = 0; day < 7; ++day)
            QCOMPARE(alarm->week[day], expectedWeek[day]);
        QCOMPARE(alarm->playListName, QStringLiteral("標準プレイリスト"));
        QCOMPARE(alarm->playMode, QStringLiteral("リピートなし：4"));
        QVERIFY(alarm->firstPlay);
        QVERIFY(!alarm->interrupt);
        QCOMPARE(alarm->volume, QStringLiteral("35"));
        QCOMPARE(alarm->volumeControl, QStringLiteral("フェードイン：7分"));
    }
    auto *rowMode = qobject_cast<QComboBox *>(table->cellWidget(1, 11));
    QVERIFY(rowMode);
    QCOMPARE(rowMode->currentText(), QStringLiteral("リピートなし：4"));
}

void tst_AlarmSetWindow::cancelChangesNothing()
{
    dialog->prepare(core);
    dialog->show();
    child<QSpinBox>("timeCount")->setValue(5);
    QTest::mouseClick(child<QPushButton>("pushButton_2"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(core->alarms->size(), 0);
    QCOMPARE(core->rowCount(), 0);
}

void tst_AlarmSetWindow::dayToggles_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("weekdays, Friday missing") << "checkButton_m_f" << "0123" << "01234";
    QTest::newRow("weekdays, all set") << "checkButton_m_f" << "01234" << "";
    QTest::newRow("weekdays keep the weekend") << "checkButton_m_f" << "56" << "0123456";
    QTest::newRow("weekdays set, weekend kept") << "checkButton_m_f" << "0123456" << "56";
    QTest::newRow("weekend, one set") << "checkButton_s_s" << "26" << "256";
    QTest::newRow("weekend, both set") << "checkButton_s_s" << "0156" << "01";
    QTest::newRow("all, none set") << "checkButton_all" << "" << "0123456";
    QTest::newRow("all, one missing") << "checkButton_all" << "012346" << "0123456";
    QTest::newRow("all, all set") << "checkButton_all" << "0123456" << "";
}

void tst_AlarmSetWindow::dayToggles()
{
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QString, after);
    for (int day = 0; day < 7; ++day)
        child<QCheckBox>(dayBoxes[day])->setChecked(before.contains(QChar('0' + day)));
    QTest::mouseClick(child<QPushButton>(button.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(week(), after);
}

void tst_AlarmSetWindow::choosersRefilledOnEachOpening()
{
    core->setTrackList(fakeTracks(3));
    dialog->prepare(core);
    child<QComboBox>("modeBox")->setCurrentIndex(5);
    child<QComboBox>("volumeListBox")->setCurrentIndex(4);
    child<QSpinBox>("intervalTime")->setValue(15);
    child<QCheckBox>("check_wed")->setChecked(true);

    core->setTrackList(fakeTracks(6));
    dialog->prepare(core);
    auto *mode = child<QComboBox>("modeBox");
    QStringList items;
    for (int i = 0; i < mode->count(); ++i)
        items << mode->itemText(i);
    QCOMPARE(items, alarmList::playModeItems(6));
    QCOMPARE(mode->currentIndex(), 0);
    QCOMPARE(child<QComboBox>("playlistBox")->count(), 1);
    QCOMPARE(child<QComboBox>("volumeListBox")->count(), 22);
    QCOMPARE(child<QComboBox>("volumeListBox")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>("volumeControlBox")->count(), 11);
    // Time, interval, count and days keep the previous use.
    QCOMPARE(child<QSpinBox>("intervalTime")->value(), 15);
    QVERIFY(child<QCheckBox>("check_wed")->isChecked());
}

QTEST_MAIN(tst_AlarmSetWindow)
#include "tst_alarm_set_window.moc"
