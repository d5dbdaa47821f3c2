// A fired alarm as the sleeper meets it: the ringing window, stop and snooze,
// the built-in tone when nothing else plays, and alarms missed while asleep.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmringwindow.h"
#include "alarm/alarmtone.h"
#include "app/mainwindow.h"
#include "player/gstengine.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"
#include "support/soundserverprobe.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QElapsedTimer>
#include <QSet>
#include <QTest>


#include <memory>

namespace {
// 2024-01-01 was a Monday.
QDateTime mon(int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2024, 1, 1), QTime(hour, minute, second));
}
} // namespace

class tst_AlarmRinging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void toneFile();
    void jumpAcrossAlarmFiresOnce();
    void fallbackTone_data();
    void fallbackTone();
    void queuedTrackGoneKeepsMusic();
    void stopEndsOccurrence_data();
    void stopEndsOccurrence();
    void snoozeFiresAfterItsMinutes();
    void mutedOutputIsShownAndUnmuted();
    void nextAlarmLabelFollowsSwitch();
    void fadeInRisesOnOneStream();
    void alarmVolumeHeardOnEveryStream_data();
    void alarmVolumeHeardOnEveryStream();

private:
    void setAlarms(const QList<AlarmSetup> &setups)
    {
        window->setWin->setAlarmList(makeAlarmList(window.get(), setups));
    }
    // One check at `moment`; true when an alarm fired (seen through the mode it applies).
    bool tickAt(const QDateTime &moment)
    {
        clock = moment;
        window->core->setModeText(QStringLiteral("idle"));
        window->checkAlarms();
        return window->core->modeText != QLatin1String("idle");
    }
    int ticks(const QDateTime &from, const QDateTime &to)
    {
        int fired = 0;
        for (QDateTime t = from; t <= to; t = t.addSecs(1))
            fired += tickAt(t) ? 1 : 0;
        return fired;
    }
    alarmRingWindow *ringWindow() const { return window->ringer->window(); }

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
    QDateTime clock;
    QString longTrack;
    QString broken;
    QStringList shortTracks;
};

void tst_AlarmRinging::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    longTrack = fixtures->make(QStringLiteral("long.flac"), 8000, TrackTags{QStringLiteral("Long"), {}, {}, 0});
    broken = fixtures->makeBroken(QStringLiteral("broken.wav"));
    for (int i = 0; i < 2; ++i)
        shortTracks << fixtures->make(QStringLiteral("short%1.flac").arg(i), 2500);
    QVERIFY(!longTrack.isEmpty() && !broken.isEmpty());
    alarmClock::setSource([this] { return clock; });
}

void tst_AlarmRinging::init()
{
    clock = mon(6, 0);
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ringer->toneDelayMsec = 1500;
}

void tst_AlarmRinging::cleanup()
{
    window.reset();
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

void tst_AlarmRinging::toneFile()
{
    // Written when not shipped, and a WAV the decoder can read.
    const QString path = alarmTone::filePath();
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(44);
    QVERIFY(head.startsWith("RIFF") && head.mid(8, 8) == "WAVEfmt ");
    QCOMPARE(file.size(), alarmTone::wavData().size());
    QVERIFY(file.size() > 22050); // longer than half a second of sound
}

void tst_AlarmRinging::jumpAcrossAlarmFiresOnce()
{
    window->core->addFiles({longTrack});
    // The track, not the tone, however long a busy machine takes to open it.
    window->ringer->toneDelayMsec = 30000;
    setAlarms({{"07:00", "0", "リピートなし", true, false, true, "40"}});
    QVERIFY(!tickAt(mon(6, 58)));
    QVERIFY(!ringWindow()->isVisible());
    // Asleep from 06:58 to 07:05: the first check after waking fires 07:00.
    QVERIFY(tickAt(mon(7, 5)));
    QVERIFY(ringWindow()->isVisible());
    QCOMPARE(ringWindow()->windowTitle(), QStringLiteral("Vurn - アラーム"));
    QCOMPARE(ringWindow()->objectName(), QStringLiteral("alarmRingWindow"));
    QCOMPARE(ringWindow()->timeLabel->text(), QStringLiteral("07:00"));
    QCOMPARE(window->volumePercent(), 40);
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(ringWindow()->playingLabel->text(), QStringLiteral("1 : Long"), 5000);
    QCOMPARE(ticks(mon(7, 5, 1), mon(7, 5, 30)), 0);
    window->stopRinging();
}

void tst_AlarmRinging::fallbackTone_data()
{
    QTest::addColumn<QStringList>("tracks");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<int>("currentVolume");
    QTest::addColumn<bool>("tone");
    QTest::addColumn<int>("tonePercent");
    QTest::newRow("empty playlist") << QStringList() << "60" << 50 << true << 60;
    QTest::newRow("every track unplayable") << QStringList{"broken", "broken"} << "しない" << 50 << true << 50;
    QTest::newRow("quiet player: at least 30 %") << QStringList() << "しない" << 10 << true << 30;
    QTest::newRow("alarm set quieter than 30 %") << QStringList() << "20" << 80 << true << 20;
    QTest::newRow("a track plays") << QStringList{"long"} << "60" << 50 << false << 0;
}

void tst_AlarmRinging::fallbackTone()
{
    QFETCH(QStringList, tracks);
    QFETCH(QString, volume);
    QFETCH(int, currentVolume);
    QFETCH(bool, tone);
    QFETCH(int, tonePercent);
    QStringList files;
    for (const QString &track : tracks) {
        if (track == QLatin1String("long")) {
            files << longTrack;
            continue;
        }
        // Readable when added, undecodable by the time the alarm plays it.
        static int count = 0;
        const QString path = fixtures->make(QStringLiteral("turns-bad-%1.wav").arg(++count), 1000);
        QVERIFY(!path.isEmpty());
        files << path;
    }
    if (!files.isEmpty())
        QVERIFY(window->core->addFiles(files));
    for (const QString &path : files) {
        if (path != longTrack) {
            QVERIFY(QFile::remove(path));
            QVERIFY(QFile::copy(broken, path));
        }
    }
    window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->setValue(currentVolume);
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, true, volume}});

    // An empty playlist still shows its warning; the tone does not wait for it.
    ModalAnswerer answerer;
    answerer.arm();
    QVERIFY(tickAt(mon(7, 0)));
    QCOMPARE(answerer.answered, files.isEmpty());
    if (tone) {
        QTRY_VERIFY_WITH_TIMEOUT(window->ringer->isToneSounding(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(window->ringer->toneEngine()->state(), gstEngine::State::Playing, 8000);
        QCOMPARE(window->ringer->toneVolumePercent(), tonePercent);
        // The backend reads back a hair off the level it was given.
        QVERIFY(qAbs(window->ringer->toneEngine()->volume() * 100 - tonePercent) < 2);
        QCOMPARE(ringWindow()->playingLabel->text(), QStringLiteral("アラーム音"));
        // Loops past the end of the file until stopped.
        QTest::qWait(6000);
        QVERIFY(window->ringer->isToneSounding());
        QTRY_COMPARE_WITH_TIMEOUT(window->ringer->toneEngine()->state(), gstEngine::State::Playing, 3000);
        QVERIFY(!window->core->isPlaying());
        window->findChild<QAction *>(QStringLiteral("actionPlay"))->trigger();
        QVERIFY(!window->ringer->isToneSounding());
        QTRY_VERIFY_WITH_TIMEOUT(window->ringer->toneEngine()->state() != gstEngine::State::Playing, 3000);
        QVERIFY(!ringWindow()->isVisible());
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
        QTest::qWait(window->ringer->toneDelayMsec + 1000);
        QVERIFY(!window->ringer->isToneSounding());
        QVERIFY(window->core->isPlaying());
        window->stopRinging();
    }
}

void tst_AlarmRinging::queuedTrackGoneKeepsMusic()
{
    // Copies, one of which goes: whichever is queued while the first plays.
    QStringList copies;
    for (const QString &source : {shortTracks.at(0), shortTracks.at(1), longTrack}) {
        copies << fixtures->path(QStringLiteral("queued%1.flac").arg(copies.size()));
        QFile::remove(copies.last());
        QVERIFY(QFile::copy(source, copies.last()));
    }
    QVERIFY(window->core->addFiles(copies));
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, true, "60"}});
    ModalAnswerer answerer;
    answerer.arm();
    QVERIFY(tickAt(mon(7, 0)));
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_VERIFY_WITH_TIMEOUT(!window->core->queuedFile().isEmpty(), 3000);
    const int gone = copies.indexOf(window->core->queuedFile());
    QVERIFY(gone >= 0);
    QVERIFY(QFile::remove(copies.at(gone)));
    QTRY_COMPARE_WITH_TIMEOUT(window->core->currentIndex, (gone + 1) % 3, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 5000);
    QVERIFY(!window->ringer->isToneSounding());
    QCOMPARE(answerer.count, 0);
    window->stopRinging();
}

void tst_AlarmRinging::stopEndsOccurrence_data()
{
    QTest::addColumn<QString>("how");
    // Stopped before the alarm's track reached the player: it must not start afterwards.
    QTest::addColumn<bool>("whileOpening");
    QTest::newRow("stop button") << "stop" << false;
    QTest::newRow("title bar close") << "close" << false;
    QTest::newRow("main window play/stop") << "play" << false;
    QTest::newRow("stop button, track still opening") << "stop" << true;
    QTest::newRow("title bar close, track still opening") << "close" << true;
}

void tst_AlarmRinging::stopEndsOccurrence()
{
    QFETCH(QString, how);
    QFETCH(bool, whileOpening);
    window->core->addFiles({longTrack});
    // Not interrupting, so an occurrence that came back would fire once stopped.
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, false}});
    QVERIFY(tickAt(mon(7, 0)));
    if (!whileOpening)
        QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    if (how == QLatin1String("stop"))
        QTest::mouseClick(ringWindow()->stopButton, Qt::LeftButton);
    else if (how == QLatin1String("close"))
        ringWindow()->close();
    else
        window->findChild<QAction *>(QStringLiteral("actionPlay"))->trigger();
    QVERIFY(!ringWindow()->isVisible());
    QVERIFY(!window->ringer->isRinging());
    QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 3000);
    QCOMPARE(ticks(mon(7, 0, 1), mon(7, 0, 59)), 0);
    // Longer than the track takes to open on a busy machine.
    QTest::qWait(window->ringer->toneDelayMsec + (whileOpening ? 6000 : 500));
    QVERIFY(!window->core->isPlaying());
    QVERIFY(!window->ringer->isToneSounding());
}

void tst_AlarmRinging::snoozeFiresAfterItsMinutes()
{
    window->core->addFiles({longTrack});
    window->setWin->setAlarmOptions(5, 60, true, false);
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, true, "80", "フェードイン：2分"}});
    QVERIFY(tickAt(mon(7, 0)));
    for (int i = 0; i < 30; ++i)
        window->stepVolumeRamp();
    QVERIFY(window->volumePercent() > 0);
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    clock = mon(7, 0, 20);
    QTest::mouseClick(ringWindow()->snoozeButton, Qt::LeftButton);
    QVERIFY(!ringWindow()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 3000);
    QCOMPARE(window->rampStep, 0.0);
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：1/1(月) 07:05"));
    QCOMPARE(ticks(mon(7, 0, 21), mon(7, 5, 19)), 0);
    // Again with its volume and fade-in starting over.
    QVERIFY(tickAt(mon(7, 5, 20)));
    QVERIFY(ringWindow()->isVisible());
    QCOMPARE(window->volumePercent(), 0);
    QCOMPARE(window->rampTarget, 80.0);
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QCOMPARE(ticks(mon(7, 5, 21), mon(7, 6, 30)), 0);
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：1/8(月) 07:00"));
    window->stopRinging();
}

void tst_AlarmRinging::mutedOutputIsShownAndUnmuted()
{
    window->core->addFiles({longTrack});
    auto *volButton = window->findChild<QPushButton *>(QStringLiteral("volButton"));
    QTest::mouseClick(volButton, Qt::LeftButton);
    QVERIFY(window->core->player->isMuted());
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, true}});
    QVERIFY(tickAt(mon(7, 0)));
    QVERIFY(ringWindow()->mutedLabel->isVisibleTo(ringWindow()));
    QVERIFY(ringWindow()->unmuteButton->isVisibleTo(ringWindow()));
    QTest::mouseClick(ringWindow()->unmuteButton, Qt::LeftButton);
    QVERIFY(!window->core->player->isMuted());
    QVERIFY(!ringWindow()->mutedLabel->isVisibleTo(ringWindow()));
    QVERIFY(volButton->text().startsWith(QStringLiteral("vol:")));
    window->stopRinging();
}

void tst_AlarmRinging::nextAlarmLabelFollowsSwitch()
{
    setAlarms({{"07:00", "0", "ランダム"}});
    tickAt(mon(6, 0));
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：1/1(月) 07:00"));
    window->setWin->show();
    auto *box = window->setWin->findChild<QCheckBox *>(QStringLiteral("allAlarmEnableCheckBox"));
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：なし"));
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(window->setWin->nextAlarmText(), QStringLiteral("次のアラーム：1/1(月) 07:00"));
    window->setWin->close();
}

void tst_AlarmRinging::fadeInRisesOnOneStream()
{
    // The server remembers the player's streams at full volume (yesterday's
    // evening); the fade must still start from silence.
    QVERIFY(SoundServerProbe::rememberVolume(SoundServerProbe::ownRestoreId(), 100));
    window->core->addFiles({longTrack});
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, true, "80", "フェードイン：1分"}});
    QVERIFY(tickAt(mon(7, 0)));
    QSet<int> streams;
    int heard = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 nextStep = 1000;
    while (clock.elapsed() < 5000) {
        if (clock.elapsed() >= nextStep) {
            window->stepVolumeRamp();
            nextStep += 1000;
        }
        const int allowed = gstEngine::serverPercent(window->volumePercent() / 100.0) + 1;
        for (const HeardStream &stream : SoundServerProbe::audibleStreams()) {
            ++heard;
            streams.insert(stream.index);
            QVERIFY2(stream.percent <= allowed,
                     qPrintable(QStringLiteral("heard at %1 %, the fade is at %2 %")
                                    .arg(stream.percent).arg(allowed - 1)));
        }
        QTest::qWait(10);
    }
    QVERIFY(heard > 0);
    QCOMPARE(streams.size(), 1);
    QVERIFY(window->volumePercent() > 0);
    window->stopRinging();
}

void tst_AlarmRinging::alarmVolumeHeardOnEveryStream_data()
{
    QTest::addColumn<bool>("withTracks");
    QTest::newRow("second track of the playlist") << true;
    QTest::newRow("built-in tone") << false;
}

void tst_AlarmRinging::alarmVolumeHeardOnEveryStream()
{
    QFETCH(bool, withTracks);
    const QByteArray id = SoundServerProbe::ownRestoreId();
    if (withTracks)
        window->core->addFiles(shortTracks);
    window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->setValue(90);
    setAlarms({{"07:00", "0", "全曲リピート(>>)", true, false, true, "40"}});
    // An empty playlist is reported in a box, which the tone must not wait for.
    ModalAnswerer answerer;
    answerer.arm();
    QVERIFY(tickAt(mon(7, 0)));
    const int wanted = gstEngine::serverPercent(0.4);
    if (withTracks) {
        QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
        QVERIFY(SoundServerProbe::rememberVolume(id, 100));
        QTRY_COMPARE_WITH_TIMEOUT(window->core->currentIndex, 1, 6000);
    } else {
        QVERIFY(SoundServerProbe::rememberVolume(id, 100));
        QTRY_VERIFY_WITH_TIMEOUT(window->ringer->isToneSounding(), 8000);
    }
    int heard = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500) {
        for (const HeardStream &stream : SoundServerProbe::audibleStreams()) {
            ++heard;
            QCOMPARE(stream.percent, wanted);
            QVERIFY(!stream.muted);
        }
        QTest::qWait(10);
    }
    QVERIFY(heard > 0);
    window->stopRinging();
}

QTEST_MAIN(tst_AlarmRinging)
#include "tst_alarmringing.moc"
