// The alarm's output rule against the private sound server's default sink:
// unmuted and raised at the alarm, put back after, a person's change kept.
#include "desktop/outputguard.h"
#include "support/soundserverprobe.h"

#include <QSignalSpy>
#include <QTest>

class tst_outputGuard : public QObject
{
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(tst_outputGuard)
#include "tst_outputguard.moc"
