// The once-a-second alarm check and fade-in of the main window, against a test
// clock, with real playback into the null sink where the outcome needs it.
#include "alarm/alarmclock.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "app/mainwindow.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>


#include <memory>

namespace {

// 2024-01-01 was a Monday.
QDateTime at(int dayOfWeek, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2024, 1, dayOfWeek), QTime(hour, minute, second));
}

} // namespace

class tst_AlarmScheduler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void weekOfTicks();
    void switchOffFiresNothing();
    void interruptOffWaitsForStop();
    void firstPlayWithInterruptStops();
    void immediateVolume_data();
    void immediateVolume();
    void fadeInReachesTargetInSteps();
    void fadeToZeroAndZeroMinutes();
    void muteDuringFade();
    void alarmPlaysForReal();
    void alarmSkipsUnplayableTrack();

private:
    void setAlarms(const QList<AlarmSetup> &setups);
    // Ticks once per second from..to (inclusive); returns the firings as
    // "day hh:mm mode", detected through the mode each alarm applies.
    QStringList tick(const QDateTime &from, const QDateTime &to);
    void tickAt(const QDateTime &moment);
    bool waitPlaying(bool playing, int timeout = 8000);
    template <typename T> T *child(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
    QDateTime clock;
    QString shortTrack;
    QString longTrack;
};

void tst_AlarmScheduler::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    shortTrack = fixtures->make(QStringLiteral("short.wav"), 1000, TrackTags{QStringLiteral("Short"), {}, {}, 0});
    longTrack = fixtures->make(QStringLiteral("long.flac"), 6000, TrackTags{QStringLiteral("Long"), {}, {}, 0});
    QVERIFY(!shortTrack.isEmpty() && !longTrack.isEmpty());
    alarmClock::setSource([this] { return clock; });
}

void tst_AlarmScheduler::init()
{
    clock = at(1, 12, 0);
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_AlarmScheduler::cleanup()
{
    window.reset();
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

void tst_AlarmScheduler::setAlarms(const QList<AlarmSetup> &setups)
{
    window->setWin->setAlarmList(makeAlarmList(window.get(), setups));
}

void tst_AlarmScheduler::tickAt(const QDateTime &moment)
{
    clock = moment;
    window->stepVolumeRamp();
    window->checkAlarms();
}

QStringList tst_AlarmScheduler::tick(const QDateTime &from, const QDateTime &to)
{
    QStringList fired;
    const QString idle = QStringLiteral("idle");
    for (QDateTime t = from; t <= to; t = t.addSecs(1)) {
        window->core->setModeText(idle);
        tickAt(t);
        if (window->core->modeText != idle)
            fired << t.toString(QStringLiteral("ddd HH:mm:ss ")) + window->core->modeText;
    }
    return fired;
}

bool tst_AlarmScheduler::waitPlaying(bool playing, int timeout)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (window->core->isPlaying() != playing && elapsed.elapsed() < timeout)
        QTest::qWait(20);
    return window->core->isPlaying() == playing;
}

void tst_AlarmScheduler::weekOfTicks()
{
    window->core->addFiles({shortTrack, shortTrack});
    setAlarms({
        {"07:30", "024", "ランダム"},                       // Mon, Wed, Fri
        {"07:30", "0", "シャッフル"},                       // same minute, later: never
        {"06:59", "6", "1曲リピート"},                      // Sunday only
        {"07:00", "0123456", "全曲リピート(<<)", false},   // disabled
        {"", "1", "リピートなし：ランダム"},                 // empty time: 00:00 Tuesday
        {"07:31", "", "リピートなし"},                      // no weekday
    });
    QStringList fired;
    // Hours around the alarms on every day from Monday to the next Monday,
    // so the week wraps from Sunday to Monday.
    for (int day = 1; day <= 8; ++day) {
        fired += tick(at(day, 0, 0), at(day, 0, 2, 30));
        fired += tick(at(day, 6, 58), at(day, 7, 32));
    }
    const QStringList expected = {
        at(1, 7, 30).toString("ddd HH:mm:ss ") + "ランダム",
        at(2, 0, 0).toString("ddd HH:mm:ss ") + "リピートなし：ランダム",
        at(3, 7, 30).toString("ddd HH:mm:ss ") + "ランダム",
        at(5, 7, 30).toString("ddd HH:mm:ss ") + "ランダム",
        at(7, 6, 59).toString("ddd HH:mm:ss ") + "1曲リピート",
        at(8, 7, 30).toString("ddd HH:mm:ss ") + "ランダム",
    };
    QCOMPARE(fired, expected);
    window->core->stopPlayback(child<QAction>("actionPlay"));
}

void tst_AlarmScheduler::switchOffFiresNothing()
{
    window->core->addFiles({shortTrack});
    child<QSlider>("volumeSlider")->setValue(33);
    setAlarms({{"12:00", "0123456", "ランダム", true, false, true, "80"}});
    window->setWin->setAlarmEnabled(false);
    QCOMPARE(tick(at(1, 11, 59), at(1, 12, 1)), QStringList());
    QCOMPARE(window->volumePercent(), 33);
    QVERIFY(!window->core->isPlaying());
    window->setWin->setAlarmEnabled(true);
    QCOMPARE(tick(at(1, 12, 0, 30), at(1, 12, 0, 31)).size(), 1);
    QCOMPARE(window->volumePercent(), 80);
}

void tst_AlarmScheduler::interruptOffWaitsForStop()
{
    window->core->addFiles({longTrack});
    child<QAction>("actionPlay")->trigger();
    QVERIFY(waitPlaying(true));
    setAlarms({{"12:00", "0", "シャッフル", true, false, false}});
    QCOMPARE(tick(at(1, 12, 0, 0), at(1, 12, 0, 5)), QStringList());
    window->core->stopPlayback(child<QAction>("actionPlay"));
    QVERIFY(waitPlaying(false));
    // The very next check in the same minute fires.
    QCOMPARE(tick(at(1, 12, 0, 6), at(1, 12, 0, 6)).size(), 1);
    QVERIFY(waitPlaying(true));
    window->core->stopPlayback(child<QAction>("actionPlay"));
}

void tst_AlarmScheduler::firstPlayWithInterruptStops()
{
    window->core->addFiles({longTrack});
    child<QAction>("actionPlay")->trigger();
    QVERIFY(waitPlaying(true));
    window->rampStep = 0.5;
    setAlarms({{"12:00", "0", "ランダム", true, true, true}});
    QCOMPARE(tick(at(1, 12, 0, 0), at(1, 12, 0, 0)).size(), 1);
    // The Play command toggles: playback stops and a fade would end.
    QCOMPARE(child<QAction>("actionPlay")->text(), QStringLiteral("♪"));
    QCOMPARE(window->rampStep, 0.0);
    QVERIFY(waitPlaying(false));
}

void tst_AlarmScheduler::immediateVolume_data()
{
    QTest::addColumn<QString>("volume");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("fades");
    QTest::newRow("set at once") << "45" << "しない" << 45 << false;
    QTest::newRow("no change") << "しない" << "しない" << 33 << false;
    QTest::newRow("no change despite fade") << "しない" << "フェードイン：3分" << 33 << false;
    QTest::newRow("unknown control") << "80" << "フェードイン：3" << 33 << false;
    QTest::newRow("fade starts at zero") << "80" << "フェードイン：3分" << 0 << true;
}

void tst_AlarmScheduler::immediateVolume()
{
    QFETCH(QString, volume);
    QFETCH(QString, control);
    QFETCH(int, expected);
    QFETCH(bool, fades);
    window->core->addFiles({shortTrack});
    child<QSlider>("volumeSlider")->setValue(33);
    setAlarms({{"12:00", "0", "ランダム", true, false, true, volume, control}});
    QCOMPARE(tick(at(1, 12, 0), at(1, 12, 0)).size(), 1);
    QCOMPARE(window->volumePercent(), expected);
    QCOMPARE(window->rampStep > 0, fades);
    window->core->stopPlayback(child<QAction>("actionPlay"));
}

void tst_AlarmScheduler::fadeInReachesTargetInSteps()
{
    window->core->addFiles({shortTrack});
    setAlarms({{"12:00", "0", "ランダム", true, false, true, "80", "フェードイン：5分"}});
    QCOMPARE(tick(at(1, 12, 0), at(1, 12, 0)).size(), 1);
    QCOMPARE(window->rampTarget, 80.0);
    QCOMPARE(window->rampStep, 80.0 / 300.0);
    QCOMPARE(window->volumePercent(), 0);
    window->core->stopPlayback(child<QAction>("actionPlay"));

    int steps = 0;
    int firstAt80 = 0;
    int previous = 0;
    while (window->rampStep > 0 && steps < 1000) {
        window->stepVolumeRamp();
        ++steps;
        const int now = window->volumePercent();
        QVERIFY(now >= previous); // never goes down
        previous = now;
        if (now == 80 && firstAt80 == 0)
            firstAt80 = steps;
    }
    QCOMPARE(firstAt80, 297);
    QCOMPARE(steps, 298); // the step after reaching the target ends the fade
    QCOMPARE(window->volumePercent(), 80);
    QCOMPARE(child<QSlider>("volumeSlider")->value(), 80);
    QCOMPARE(child<QPushButton>("volButton")->text(), QStringLiteral("vol:80"));
    QCOMPARE(window->rampLevel, 0.0);
}

void tst_AlarmScheduler::fadeToZeroAndZeroMinutes()
{
    window->core->addFiles({shortTrack});
    child<QSlider>("volumeSlider")->setValue(50);
    setAlarms({{"12:00", "0", "ランダム", true, false, true, "0", "フェードイン：2分"}});
    QCOMPARE(tick(at(1, 12, 0), at(1, 12, 0)).size(), 1);
    QCOMPARE(window->rampStep, 0.0);
    QCOMPARE(window->volumePercent(), 0);
    window->stepVolumeRamp();
    QCOMPARE(window->rampStep, 0.0);
    QCOMPARE(window->volumePercent(), 0);

    // A hand-edited fade of no minutes sets the volume at once instead of dividing by zero.
    setAlarms({{"12:01", "0", "ランダム", true, false, true, "60", "フェードイン：0分"},
               {"12:02", "0", "ランダム", true, false, true, "40", "フェードイン：分"}});
    QCOMPARE(tick(at(1, 12, 1), at(1, 12, 1)).size(), 1);
    QCOMPARE(window->rampStep, 0.0);
    QCOMPARE(window->volumePercent(), 60);
    QCOMPARE(tick(at(1, 12, 2), at(1, 12, 2)).size(), 1);
    QCOMPARE(window->volumePercent(), 40);
    window->core->stopPlayback(child<QAction>("actionPlay"));
}

void tst_AlarmScheduler::muteDuringFade()
{
    window->core->addFiles({shortTrack});
    setAlarms({{"12:00", "0", "ランダム", true, false, true, "60", "フェードイン：1分"}});
    QCOMPARE(tick(at(1, 12, 0), at(1, 12, 0)).size(), 1);
    window->core->stopPlayback(child<QAction>("actionPlay"));
    for (int i = 0; i < 10; ++i)
        window->stepVolumeRamp();
    QCOMPARE(window->volumePercent(), 10);
    auto *button = child<QPushButton>("volButton");
    QTest::mouseClick(button, Qt::LeftButton); // mute
    QCOMPARE(button->text(), QStringLiteral("mute"));
    for (int i = 0; i < 20; ++i)
        window->stepVolumeRamp();
    QCOMPARE(window->volumePercent(), 10); // the output does not move while muted
    QVERIFY(qAbs(window->rampLevel - 0.30) < 1e-9); // but the level goes on
    QTest::mouseClick(button, Qt::LeftButton); // unmute
    window->stepVolumeRamp();
    // The accumulated level is applied at once (31 %, give or take rounding).
    QVERIFY(window->volumePercent() >= 31 && window->volumePercent() <= 32);
    int steps = 0;
    while (window->rampStep > 0 && steps++ < 100)
        window->stepVolumeRamp();
    QVERIFY(steps < 100);
    QVERIFY(window->volumePercent() >= 60 && window->volumePercent() <= 61);
}

void tst_AlarmScheduler::alarmPlaysForReal()
{
    window->core->addFiles({longTrack, shortTrack});
    clock = QDateTime::currentDateTime();
    const QString now = clock.toString(QStringLiteral("HH:mm"));
    const QString today = QString::number(clock.date().dayOfWeek() - 1);
    setAlarms({{now, today, "リピートなし", true, false, false, "65"}});
    QCOMPARE(tick(clock, clock).size(), 1);
    QCOMPARE(window->core->modeText, QStringLiteral("リピートなし"));
    QCOMPARE(window->modeGroup->checkedAction(), window->mode_action_non);
    QCOMPARE(window->volumePercent(), 65);
    QVERIFY(waitPlaying(true));
    QCOMPARE(window->core->currentIndex, 0);
    QCOMPARE(child<QLabel>("musicTitle")->text(), QStringLiteral("1 : Long"));
    QTRY_VERIFY_WITH_TIMEOUT(window->core->positionMsec() > 300, 5000);
    window->core->stopPlayback(child<QAction>("actionPlay"));
}

void tst_AlarmScheduler::alarmSkipsUnplayableTrack()
{
    const QString broken = fixtures->makeBroken(QStringLiteral("broken.wav"));
    window->core->addFiles({shortTrack, longTrack});
    // The first file turns bad after it was added (a disk that went away, say).
    const QString first = window->core->tracks().first()->filePath;
    QVERIFY(QFile::remove(first));
    QVERIFY(QFile::copy(broken, first));
    setAlarms({{"12:00", "0", "全曲リピート(>>)", true, true, true}});
    QCOMPARE(tick(at(1, 12, 0), at(1, 12, 0)).size(), 1);
    QVERIFY(waitPlaying(true));
    QCOMPARE(window->core->currentIndex, 1);
    window->core->stopPlayback(child<QAction>("actionPlay"));
}

QTEST_MAIN(tst_AlarmScheduler)
#include "tst_alarmscheduler.moc"
