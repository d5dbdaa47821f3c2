// Pausing as a person hears it: the stream goes quiet at once and comes back
// where it left off, also after a pause longer than the server keeps streams,
// and a file that went away meanwhile is reported, never left "paused".
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/modalanswerer.h"
#include "support/soundserverprobe.h"

#include <QFile>
#include <QtTest>


#include <memory>

namespace {
// The sweep rises evenly over its length: its pitch tells the position.
constexpr int sweepMsec = 16000;
constexpr int fromHz = 300;
constexpr int toHz = 3300;

int positionOfPitch(double hz)
{
    return int((hz - fromHz) * sweepMsec / (toHz - fromHz));
}

// Where in the sweep playback is, by ear; -1 when no steady tone was heard
// (a window with a gap says nothing, so a few are tried).
int heardPosition()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QVector<qint16> heard = SoundServerProbe::recordWhileRunning(400);
        if (SoundServerProbe::rms(heard) >= 0.1)
            return positionOfPitch(SoundServerProbe::frequency(heard));
    }
    return -1;
}
} // namespace

class tst_VurnCorePause : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pauseHoldsThePlace();
    void seekWhilePausedMovesTheResume();
    void fileGoneWhilePaused();
    void onlyAPlayingTrackPauses();

private:
    void playAndPauseAt(int msec);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<ControllerRig> rig;
    QString sweep;
};

void tst_VurnCorePause::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    sweep = fixtures->makeSweep(QStringLiteral("sweep.flac"), sweepMsec, fromHz, toHz);
    QVERIFY(!sweep.isEmpty());
}

void tst_VurnCorePause::init()
{
    rig = std::make_unique<ControllerRig>();
    QVERIFY(rig->core->addFiles({sweep}));
    rig->core->setVolumePercent(100, nullptr, nullptr);
}

void tst_VurnCorePause::cleanup()
{
    rig.reset();
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::streamsOf().isEmpty(), 5000);
}

void tst_VurnCorePause::playAndPauseAt(int msec)
{
    vurnCore &core = *rig->core;
    QVERIFY(core.playTrack(0, false));
    QTRY_VERIFY_WITH_TIMEOUT(core.isPlaying(), 8000);
    QTRY_VERIFY_WITH_TIMEOUT(core.positionMsec() >= msec, 8000);
    QSignalSpy paused(&core, &vurnCore::pausedChanged);
    QVERIFY(core.pausePlayback());
    QCOMPARE(paused.count(), 1);
    QVERIFY(core.isPaused());
    QVERIFY(!core.isPlaying());
    QVERIFY(rig->title.text().startsWith(QStringLiteral("（一時停止）1 : ")));
    QCOMPARE(rig->play.text(), QStringLiteral("♪"));
}

void tst_VurnCorePause::pauseHoldsThePlace()
{
    vurnCore &core = *rig->core;
    playAndPauseAt(5000);
    if (QTest::currentTestFailed())
        return;
    // The held stream goes on: the server keeps the one stream, corked.
    const QList<HeardStream> before = SoundServerProbe::streamsOf();
    QCOMPARE(before.size(), 1);
    const qint64 held = core.positionMsec();
    QVERIFY(held >= 5000 && held < 7000);

    // Nothing is heard while paused, and the place does not move.
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::audibleStreams().isEmpty(), 3000);
    QTest::qWait(1500);
    QVERIFY(SoundServerProbe::audibleStreams().isEmpty());
    QCOMPARE(core.positionMsec(), held);

    QVERIFY(core.resumePlayback());
    QVERIFY(!core.isPaused());
    QCOMPARE(rig->title.text().left(4), QStringLiteral("1 : "));
    QTRY_VERIFY_WITH_TIMEOUT(core.isPlaying(), 8000);
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 8000);
    QCOMPARE(rig->play.text(), QStringLiteral("■"));
    // What is heard is the sweep from where it was paused, not from its
    // beginning (a slow machine may take a few seconds to let it be heard).
    const int heardAt = heardPosition();
    QVERIFY2(heardAt > held - 1000 && heardAt < held + 6000,
             qPrintable(QStringLiteral("heard about %1 ms in after pausing at %2 ms").arg(heardAt).arg(held)));
    const QList<HeardStream> after = SoundServerProbe::streamsOf();
    QCOMPARE(after.size(), 1);
    QCOMPARE(after.first().index, before.first().index);
}

void tst_VurnCorePause::seekWhilePausedMovesTheResume()
{
    vurnCore &core = *rig->core;
    playAndPauseAt(1000);
    if (QTest::currentTestFailed())
        return;
    core.seekTo(7000);
    QCOMPARE(core.positionMsec(), qint64(7000));
    QCOMPARE(rig->seek.value(), 7000);
    QVERIFY(core.isPaused());
    QVERIFY(core.resumePlayback());
    QTRY_VERIFY_WITH_TIMEOUT(core.isPlaying(), 8000);
    QTRY_VERIFY_WITH_TIMEOUT(core.positionMsec() >= 7000, 3000);
    QVERIFY(core.positionMsec() < 9500);
}

void tst_VurnCorePause::fileGoneWhilePaused()
{
    const QString copy = fixtures->path(QStringLiteral("going.flac"));
    QVERIFY(QFile::copy(sweep, copy));
    vurnCore &core = *rig->core;
    QVERIFY(core.addFiles({copy}));
    QVERIFY(core.playTrack(1, false));
    QTRY_VERIFY_WITH_TIMEOUT(core.isPlaying(), 8000);
    QVERIFY(core.pausePlayback());
    QVERIFY(QFile::remove(copy));

    // A missing file is not a tag failure: no box, the caller moves on.
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    QVERIFY(!core.resumePlayback());
    QVERIFY(!answerer.waitAnswered(300));
    QVERIFY(!core.isPaused());
    QVERIFY(!core.isPlaying());
    QCOMPARE(rig->play.text(), QStringLiteral("♪"));
    QTest::qWait(200);
    QVERIFY(!core.isPaused());
}

void tst_VurnCorePause::onlyAPlayingTrackPauses()
{
    vurnCore &core = *rig->core;
    QVERIFY(!core.pausePlayback());
    QVERIFY(!core.resumePlayback());
    QVERIFY(!core.isPaused());
    playAndPauseAt(500);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!core.pausePlayback()); // already paused
    core.stopPlayback(&rig->play);
    QVERIFY(!core.isPaused());
    QVERIFY(!rig->title.text().startsWith(QStringLiteral("（一時停止）")));
    QVERIFY(!core.resumePlayback());
    QTRY_VERIFY(!core.isPlaying());
    QVERIFY(!core.isPaused());
}

QTEST_MAIN(tst_VurnCorePause)
#include "tst_vurncorepause.moc"
