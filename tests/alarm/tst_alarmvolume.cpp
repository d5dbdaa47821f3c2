// The alarm's volume is the alarm's: once an occurrence ends (stopped,
// snoozed, its list played out) the person's volume comes back and is what
// the state file keeps, unless they chose another while it rang.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmringwindow.h"
#include "app/mainwindow.h"
#include "player/gstengine.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/settingsreader.h"
#include "support/soundserverprobe.h"
#include "support/statedir.h"

#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>

class tst_AlarmVolume : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void personsVolumeComesBack_data();
    void personsVolumeComesBack();

private:
    QSlider *slider() const { return window->findChild<QSlider *>(QStringLiteral("volumeSlider")); }
    int storedVolume();

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<StateDir> state;
    std::unique_ptr<MainWindow> window;
    QString longTrack;
    QString shortTrack;
    QDateTime clock;
};

void tst_AlarmVolume::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    longTrack = fixtures->make(QStringLiteral("long.wav"), 20000);
    shortTrack = fixtures->make(QStringLiteral("short.wav"), 4000);
    QVERIFY(!longTrack.isEmpty() && !shortTrack.isEmpty());
    alarmClock::setSource([this] { return clock; });
}

void tst_AlarmVolume::init()
{
    clock = QDateTime(QDate(2024, 1, 1), QTime(7, 0)); // a Monday
    state = std::make_unique<StateDir>();
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ringer->toneDelayMsec = 60000; // the music's volume is what is tested
}

void tst_AlarmVolume::cleanup()
{
    if (window)
        window->close();
    window.reset();
    state.reset();
}

int tst_AlarmVolume::storedVolume()
{
    window->close();
    window.reset();
    SettingsReader reader(state->path());
    return reader.settings.loadVolume();
}

void tst_AlarmVolume::personsVolumeComesBack_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("end");   // stop, snooze, list end, exit
    QTest::addColumn<int>("personSets"); // while it rings; -1: leaves it alone
    QTest::addColumn<int>("expected");
    QTest::newRow("stopped") << "しない" << "stop" << -1 << 70;
    QTest::newRow("snoozed") << "しない" << "snooze" << -1 << 70;
    QTest::newRow("its list played to the end") << "しない" << "list end" << -1 << 70;
    QTest::newRow("fading in, stopped") << "フェードイン：1分" << "stop" << -1 << 70;
    QTest::newRow("moved by the person, stopped") << "しない" << "stop" << 30 << 30;
    QTest::newRow("moved during the fade, snoozed") << "フェードイン：1分" << "snooze" << 35 << 35;
    QTest::newRow("muted while it rings, stopped") << "しない" << "mute, stop" << -1 << 70;
    QTest::newRow("player closed while it rings") << "しない" << "exit" << -1 << 70;
    QTest::newRow("moved, player closed while it rings") << "しない" << "exit" << 30 << 30;
}

void tst_AlarmVolume::personsVolumeComesBack()
{
    QFETCH(QString, control);
    QFETCH(QString, end);
    QFETCH(int, personSets);
    QFETCH(int, expected);
    const bool listEnds = end == QLatin1String("list end");
    QVERIFY(window->core->addFiles({listEnds ? shortTrack : longTrack}));
    slider()->setValue(70);
    AlarmSetup alarm{"07:00", "0", listEnds ? "リピートなし" : "全曲リピート(>>)", true, true, true, "50", control};
    window->setWin->setAlarmList(makeAlarmList(window.get(), {alarm}));
    window->setWin->setAlarmEnabled(true);
    window->checkAlarms();
    QVERIFY(window->ringer->isRinging());
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    if (control == QStringLiteral("しない")) {
        QCOMPARE(window->volumePercent(), 50);
    } else {
        for (int step = 0; step < 5; ++step)
            window->stepVolumeRamp();
        QVERIFY(window->volumePercent() > 0 && window->volumePercent() < 50);
    }
    if (personSets >= 0) {
        slider()->setValue(personSets);
        // Their choice also stops the fade from taking it over.
        for (int step = 0; step < 5; ++step)
            window->stepVolumeRamp();
        QCOMPARE(window->volumePercent(), personSets);
    }
    clock = clock.addSecs(20);
    if (end == QLatin1String("exit")) {
        QCOMPARE(storedVolume(), expected);
        return;
    }
    auto *volButton = window->findChild<QPushButton *>(QStringLiteral("volButton"));
    if (end.startsWith(QLatin1String("mute"))) {
        QTest::mouseClick(volButton, Qt::LeftButton);
        QVERIFY(window->core->player->isMuted());
        QTest::mouseClick(window->ringer->window()->stopButton, Qt::LeftButton);
        QTest::mouseClick(volButton, Qt::LeftButton);
    } else if (end == QLatin1String("stop"))
        QTest::mouseClick(window->ringer->window()->stopButton, Qt::LeftButton);
    else if (end == QLatin1String("snooze"))
        QTest::mouseClick(window->ringer->window()->snoozeButton, Qt::LeftButton);
    else
        QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 15000);
    QCOMPARE(window->volumePercent(), expected);
    QCOMPARE(slider()->value(), expected);
    QCOMPARE(volButton->text(), window->core->volumeText(expected));
    if (listEnds)
        window->stopRinging();

    // Heard at that volume when the person plays next.
    QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 5000);
    window->findChild<QAction *>(QStringLiteral("actionPlay"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    const int heard = gstEngine::serverPercent(expected / 100.0);
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 8000);
    for (const HeardStream &stream : SoundServerProbe::audibleStreams())
        QCOMPARE(stream.percent, heard);
    QCOMPARE(storedVolume(), expected);
}

QTEST_MAIN(tst_AlarmVolume)
#include "tst_alarmvolume.moc"
