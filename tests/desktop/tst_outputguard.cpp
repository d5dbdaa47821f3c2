// The alarm's output rule against the private sound server's default sink:
// unmuted and raised at the alarm, put back after, a person's change kept.
#include "desktop/outputguard.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/soundserverprobe.h"

#include <QProcess>

#include <QSignalSpy>
#include <QTest>

namespace {
QString defaultSink()
{
    QProcess process;
    process.start(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The one stream this process plays, once it is heard.
HeardStream ourStream()
{
    const QList<HeardStream> heard = SoundServerProbe::audibleStreams();
    return heard.size() == 1 ? heard.first() : HeardStream();
}
} // namespace

class tst_outputGuard : public QObject
{
    Q_OBJECT
    std::unique_ptr<AudioFixtures> fixtures;
    QString track;

private slots:
    void initTestCase()
    {
        fixtures = std::make_unique<AudioFixtures>();
        track = fixtures->make(QStringLiteral("long.flac"), 20000);
        QVERIFY(!track.isEmpty());
    }

    void cleanup()
    {
        SoundServerProbe::setSinkMuted(false);
        SoundServerProbe::setSinkVolume(100);
    }

    void audibleThenRestored_data()
    {
        QTest::addColumn<bool>("muted");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("ringingPercent");
        QTest::addColumn<QString>("personDoes"); // while it rings
        QTest::addColumn<bool>("mutedAfter");
        QTest::addColumn<int>("percentAfter");

        QTest::newRow("muted, loud enough") << true << 50 << 30 << 50 << "" << true << 50;
        QTest::newRow("quiet") << false << 5 << 40 << 40 << "" << false << 5;
        QTest::newRow("muted and quiet") << true << 5 << 40 << 40 << "" << true << 5;
        QTest::newRow("already audible") << false << 80 << 40 << 80 << "" << false << 80;
        QTest::newRow("person turns it up: the level stays, the mute returns")
            << true << 5 << 40 << 40 << "volume 70" << true << 70;
        QTest::newRow("person mutes it: stays muted, level put back")
            << false << 5 << 40 << 40 << "mute" << true << 5;
    }
    void audibleThenRestored()
    {
        QFETCH(bool, muted);
        QFETCH(int, percent);
        QFETCH(int, target);
        QFETCH(int, ringingPercent);
        QFETCH(QString, personDoes);
        QFETCH(bool, mutedAfter);
        QFETCH(int, percentAfter);

        QVERIFY(SoundServerProbe::setSinkMuted(muted));
        QVERIFY(SoundServerProbe::setSinkVolume(percent));
        outputGuard guard;
        QSignalSpy made(&guard, &outputGuard::madeAudible);
        guard.makeAudible(target);
        QVERIFY(made.wait(5000));
        QTRY_COMPARE(SoundServerProbe::sinkMuted(), false);
        QTRY_COMPARE(SoundServerProbe::sinkPercent(), ringingPercent);
        QCOMPARE(guard.hasChanges(), muted || percent < target);

        if (personDoes == QLatin1String("mute"))
            QVERIFY(SoundServerProbe::setSinkMuted(true));
        else if (personDoes.startsWith(QLatin1String("volume ")))
            QVERIFY(SoundServerProbe::setSinkVolume(personDoes.mid(7).toInt()));

        QSignalSpy restored(&guard, &outputGuard::restored);
        guard.restore();
        if (guard.hasChanges() || muted || percent < target)
            QVERIFY(restored.wait(5000));
        QTRY_COMPARE(SoundServerProbe::sinkMuted(), mutedAfter);
        QTRY_COMPARE(SoundServerProbe::sinkPercent(), percentAfter);
        QVERIFY(!guard.hasChanges());
    }

    // Stop pressed before the server answered the unmute: still put back.
    void restoreBeforeTheAnswer()
    {
        QVERIFY(SoundServerProbe::setSinkMuted(true));
        QVERIFY(SoundServerProbe::setSinkVolume(20));
        outputGuard guard;
        QSignalSpy restored(&guard, &outputGuard::restored);
        guard.makeAudible(60);
        guard.restore();
        QVERIFY(restored.wait(5000));
        QTRY_COMPARE(SoundServerProbe::sinkMuted(), true);
        QTRY_COMPARE(SoundServerProbe::sinkPercent(), 20);
    }

    void silentOutputIsTold_data()
    {
        QTest::addColumn<bool>("muted");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("silent");
        QTest::newRow("muted") << true << 80 << true;
        QTest::newRow("below 10 %") << false << 9 << true;
        QTest::newRow("10 %") << false << 10 << false;
        QTest::newRow("normal") << false << 70 << false;
    }
    void silentOutputIsTold()
    {
        QFETCH(bool, muted);
        QFETCH(int, percent);
        QFETCH(bool, silent);
        QVERIFY(SoundServerProbe::setSinkMuted(muted));
        QVERIFY(SoundServerProbe::setSinkVolume(percent));
        outputGuard guard;
        QSignalSpy changed(&guard, &outputGuard::stateChanged);
        guard.refresh();
        QVERIFY(changed.wait(5000));
        QVERIFY(guard.state().known);
        QCOMPARE(guard.state().muted, muted);
        QCOMPARE(guard.state().percent, percent);
        QCOMPARE(outputGuard::isSilent(guard.state()), silent);
    }

    // Headphones plugged in become the default output and the playing track
    // moves there; unplugged, it comes back and keeps playing.
    void streamFollowsTheDefaultOutput()
    {
        // Two outputs of the test's own: the headless server's stand-in sink
        // makes way for any other one.
        const int speakersModule = SoundServerProbe::addNullSink(QStringLiteral("vurn_speakers"));
        QVERIFY(speakersModule >= 0);
        QVERIFY(SoundServerProbe::setDefaultSink(QStringLiteral("vurn_speakers")));
        const int speakers = SoundServerProbe::sinkIndex(QStringLiteral("vurn_speakers"));
        ControllerRig rig;
        QVERIFY(rig.core->addFiles({track}));
        rig.core->playTrack(0, false);
        QTRY_VERIFY_WITH_TIMEOUT(ourStream().index >= 0, 10000);
        QCOMPARE(ourStream().sink, speakers);

        const int headphones = SoundServerProbe::addNullSink(QStringLiteral("vurn_headphones"));
        QVERIFY(headphones >= 0);
        QVERIFY(SoundServerProbe::setDefaultSink(QStringLiteral("vurn_headphones")));
        // Generous bounds: the move waits for the server's announcement, which
        // a loaded machine (the sanitizer run) delivers seconds late.
        QTRY_COMPARE_WITH_TIMEOUT(ourStream().sink, SoundServerProbe::sinkIndex(QStringLiteral("vurn_headphones")), 20000);

        // Unplugged: back on the speakers, still playing.
        QVERIFY(SoundServerProbe::setDefaultSink(QStringLiteral("vurn_speakers")));
        QVERIFY(SoundServerProbe::removeModule(headphones));
        QTRY_COMPARE_WITH_TIMEOUT(ourStream().sink, speakers, 20000);
        // Moving a stream corks it for a moment, which the backend reports as a pause.
        QTRY_VERIFY_WITH_TIMEOUT(rig.core->isPlaying(), 20000);
        QTest::qWait(500);
        QCOMPARE(ourStream().sink, speakers); // heard, not corked
        rig.core->stopPlayback(&rig.play);
        QVERIFY(SoundServerProbe::removeModule(speakersModule));
        QTRY_VERIFY(!defaultSink().isEmpty());
    }

    // A sound server that restarts in the night: the next track plays, and
    // the output is still made audible and put back.
    void soundServerRestartIsSurvived()
    {
        outputGuard guard;
        QSignalSpy changed(&guard, &outputGuard::stateChanged);
        guard.refresh();
        QVERIFY(changed.wait(5000));
        QVERIFY(SoundServerProbe::restartServer());

        ControllerRig rig;
        QVERIFY(rig.core->addFiles({track}));
        rig.core->playTrack(0, false);
        QTRY_VERIFY_WITH_TIMEOUT(ourStream().index >= 0, 10000);

        QVERIFY(SoundServerProbe::setSinkMuted(true));
        QSignalSpy made(&guard, &outputGuard::madeAudible);
        // The connection the guard had died with the old server; the first
        // call after it may be lost while a new one is made, never more.
        guard.makeAudible(40);
        if (!made.wait(3000)) {
            guard.makeAudible(40);
            QVERIFY(made.wait(5000));
        }
        QTRY_COMPARE(SoundServerProbe::sinkMuted(), false);
        guard.restore();
        QTRY_COMPARE(SoundServerProbe::sinkMuted(), true);
    }
};

QTEST_MAIN(tst_outputGuard)
#include "tst_outputguard.moc"
