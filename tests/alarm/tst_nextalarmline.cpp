// "次のアラーム" tells the truth: the alarm tab's line follows the table as it
// is edited (marked as not yet saved until ok), what is saved follows ok, and
// an occurrence passed over while music plays is no longer named.
#include "alarm/alarmclock.h"
#include "app/mainwindow.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"
#include "support/statedir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

class tst_NextAlarmLine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tabFollowsTheTable_data();
    void tabFollowsTheTable();
    void passedOverIsNoLongerNext();

private:
    void edit(const QString &step);
    QTableWidget *table() const
    {
        return window->setWin->findChild<QTableWidget *>(QStringLiteral("alarmListTable"));
    }

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<StateDir> state;
    std::unique_ptr<MainWindow> window;
    QString longTrack;
    QDateTime clock;
};

void tst_NextAlarmLine::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    longTrack = fixtures->make(QStringLiteral("long.wav"), 20000);
    QVERIFY(!longTrack.isEmpty());
    alarmClock::setSource([this] { return clock; });
}

void tst_NextAlarmLine::init()
{
    clock = QDateTime(QDate(2024, 1, 1), QTime(5, 0)); // a Monday, before every alarm below
    state = std::make_unique<StateDir>();
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_NextAlarmLine::cleanup()
{
    window->setWin->close();
    window->close();
    window.reset();
    state.reset();
}

// "add", "delete ROW", "ok" (the buttons), "hour ROW HH", "minute ROW MM"
// (the choosers), "day ROW D", "enabled ROW" (the check boxes, toggled).
void tst_NextAlarmLine::edit(const QString &step)
{
    const QStringList words = step.split(QLatin1Char(' '));
    const QString what = words.at(0);
    const int row = words.value(1).toInt();
    const auto button = [this](const char *name) {
        return window->setWin->findChild<QPushButton *>(QLatin1String(name));
    };
    if (what == QLatin1String("add")) {
        QTest::mouseClick(button("alarmAddButton"), Qt::LeftButton);
    } else if (what == QLatin1String("ok")) {
        QTest::mouseClick(button("okButon"), Qt::LeftButton);
    } else if (what == QLatin1String("delete")) {
        table()->selectRow(row);
        ModalAnswerer answerer(QMessageBox::Ok); // deleting every row asks first
        answerer.arm();
        QTest::mouseClick(button("alarmDelButton"), Qt::LeftButton);
    } else if (what == QLatin1String("hour") || what == QLatin1String("minute")) {
        const int column = what == QLatin1String("hour") ? 1 : 2;
        qobject_cast<QComboBox *>(table()->cellWidget(row, column))->setCurrentText(words.at(2));
    } else {
        const int column = what == QLatin1String("day") ? 3 + words.at(2).toInt() : 0;
        qobject_cast<QCheckBox *>(table()->cellWidget(row, column))->click();
    }
}

void tst_NextAlarmLine::tabFollowsTheTable_data()
{
    QTest::addColumn<bool>("saved"); // one Monday alarm at 07:00 is in effect
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");    // the alarm tab's line
    QTest::addColumn<QString>("inEffect"); // the text of what is saved
    const QString monday7 = QStringLiteral("次のアラーム：1/1(月) 07:00");
    QTest::newRow("as opened") << true << QStringList() << monday7 << monday7;
    QTest::newRow("a new row given a day")
        << false << QStringList{"add", "day 0 0", "hour 0 06", "minute 0 30"}
        << "次のアラーム（未保存）：1/1(月) 06:30" << "次のアラーム：なし";
    QTest::newRow("a new row without a day")
        << false << QStringList{"add"} << "次のアラーム（未保存）：なし" << "次のアラーム：なし";
    QTest::newRow("hour changed") << true << QStringList{"hour 0 08"} << "次のアラーム（未保存）：1/1(月) 08:00"
                                  << monday7;
    QTest::newRow("a second row, earlier")
        << true << QStringList{"add", "day 1 0", "hour 1 06", "minute 1 15"}
        << "次のアラーム（未保存）：1/1(月) 06:15" << monday7;
    QTest::newRow("day moved to Tuesday")
        << true << QStringList{"day 0 1", "day 0 0"} << "次のアラーム（未保存）：1/2(火) 07:00" << monday7;
    QTest::newRow("switched off in the row") << true << QStringList{"enabled 0"} << "次のアラーム（未保存）：なし"
                                             << monday7;
    QTest::newRow("deleted") << true << QStringList{"delete 0"} << "次のアラーム（未保存）：なし" << monday7;
    QTest::newRow("changed and changed back") << true << QStringList{"hour 0 08", "hour 0 07"} << monday7 << monday7;
    QTest::newRow("a new row, then ok")
        << false << QStringList{"add", "day 0 0", "hour 0 06", "ok"} << "次のアラーム：1/1(月) 06:00"
        << "次のアラーム：1/1(月) 06:00";
    QTest::newRow("edited, then ok") << true << QStringList{"hour 0 09", "ok"} << "次のアラーム：1/1(月) 09:00"
                                     << "次のアラーム：1/1(月) 09:00";
}

void tst_NextAlarmLine::tabFollowsTheTable()
{
    QFETCH(bool, saved);
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QString, inEffect);
    QList<AlarmSetup> alarms;
    if (saved)
        alarms << AlarmSetup{"07:00", "0", "ランダム"};
    window->setWin->setAlarmList(makeAlarmList(window.get(), alarms));
    window->setWin->setAlarmEnabled(true);
    window->findChild<QAction *>(QStringLiteral("actionSettings"))->trigger();
    QVERIFY(window->setWin->isVisible());
    for (const QString &step : steps)
        edit(step);
    // The once-a-second refresh keeps both as they are.
    clock = clock.addSecs(1);
    window->checkAlarms();
    QCOMPARE(window->setWin->shownNextAlarmText(), shown);
    QCOMPARE(window->setWin->nextAlarmText(), inEffect);
}

void tst_NextAlarmLine::passedOverIsNoLongerNext()
{
    // Not interrupting: music that plays at 07:00 passes it over.
    window->setWin->setAlarmList(makeAlarmList(window.get(), {AlarmSetup{"07:00", "01", "ランダム", true, false, false}}));
    window->setWin->setAlarmEnabled(true);
    QVERIFY(window->core->addFiles({longTrack}));
    window->findChild<QAction *>(QStringLiteral("actionPlay"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    clock = QDateTime(QDate(2024, 1, 1), QTime(6, 59, 59));
    window->checkAlarms();
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：1/1(月) 07:00"));
    clock = clock.addSecs(1);
    window->checkAlarms();
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：1/2(火) 07:00"));
    window->findChild<QAction *>(QStringLiteral("actionSettings"))->trigger();
    QCOMPARE(window->setWin->shownNextAlarmText(), QStringLiteral("次のアラーム：1/2(火) 07:00"));
}

QTEST_MAIN(tst_NextAlarmLine)
#include "tst_nextalarmline.moc"
