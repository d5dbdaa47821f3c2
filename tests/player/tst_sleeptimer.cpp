// The sleep timer on a clock of its own: the fade over the last minute, the
// end, the end-of-track choice and the one-time stop after a track.
#include "player/sleeptimer.h"

#include <QSignalSpy>
#include <QtTest>

class tst_SleepTimer : public QObject
{
    Q_OBJECT
private slots:
    void timedFadeAndEnd_data();
    void timedFadeAndEnd();
    void expiresOnceAndUndoesTheFade();
    void aSuspendPastTheEndEndsAtOnce();
    void endOfTrackFadesOverWhatIsLeft();
    void trackEnds_data();
    void trackEnds();
    void cancelAndChange();

private:
    const QDateTime start{QDate(2026, 12, 9), QTime(23, 0)};
};

void tst_SleepTimer::timedFadeAndEnd_data()
{
    QTest::addColumn<int>("secondsIn");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("remaining");
    // 15 minutes: full volume until the last minute, then down evenly.
    QTest::newRow("start") << 0 << 1.0 << "15:00";
    QTest::newRow("a second in") << 1 << 1.0 << "14:59";
    QTest::newRow("the last minute begins") << 14 * 60 << 1.0 << "1:00";
    QTest::newRow("half way down") << 14 * 60 + 30 << 0.5 << "0:30";
    QTest::newRow("almost silent") << 14 * 60 + 57 << 0.05 << "0:03";
}

void tst_SleepTimer::timedFadeAndEnd()
{
    QFETCH(int, secondsIn);
    QFETCH(double, factor);
    QFETCH(QString, remaining);
    sleepTimer timer;
    QSignalSpy expired(&timer, &sleepTimer::expired);
    timer.startMinutes(15, start);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.chosenMinutes(), 15);
    const QDateTime now = start.addSecs(secondsIn);
    timer.tick(now, 0, 0);
    QVERIFY(qAbs(timer.attenuation() - factor) < 0.001);
    QCOMPARE(timer.remainingText(now), remaining);
    QCOMPARE(expired.count(), 0);
}

void tst_SleepTimer::expiresOnceAndUndoesTheFade()
{
    sleepTimer timer;
    QSignalSpy expired(&timer, &sleepTimer::expired);
    QSignalSpy factors(&timer, &sleepTimer::attenuationChanged);
    timer.startMinutes(30, start);
    timer.tick(start.addSecs(29 * 60 + 45), 0, 0);
    QVERIFY(timer.attenuation() < 0.3);
    // The stop comes first, while it is still quiet; then the volume is back.
    qreal factorAtExpiry = -1;
    connect(&timer, &sleepTimer::expired, this, [&] { factorAtExpiry = timer.attenuation(); });
    timer.tick(start.addSecs(30 * 60), 0, 0);
    QCOMPARE(expired.count(), 1);
    QVERIFY(factorAtExpiry < 0.3);
    QCOMPARE(timer.attenuation(), 1.0);
    QCOMPARE(factors.last().first().toReal(), 1.0);
    QVERIFY(!timer.isActive());
    QVERIFY(timer.remainingText(start).isEmpty());
    timer.tick(start.addSecs(31 * 60), 0, 0);
    QCOMPARE(expired.count(), 1);
}

void tst_SleepTimer::aSuspendPastTheEndEndsAtOnce()
{
    sleepTimer timer;
    QSignalSpy expired(&timer, &sleepTimer::expired);
    timer.startMinutes(15, start);
    timer.tick(start.addSecs(3 * 3600), 0, 0);
    QCOMPARE(expired.count(), 1);
    QCOMPARE(timer.attenuation(), 1.0);
}

void tst_SleepTimer::endOfTrackFadesOverWhatIsLeft()
{
    sleepTimer timer;
    QSignalSpy expired(&timer, &sleepTimer::expired);
    timer.startEndOfTrack(60000, 180000); // two minutes left
    QVERIFY(timer.endsWithTrack());
    QCOMPARE(timer.remainingText(start), QStringLiteral("曲の終わり"));
    timer.tick(start, 60000, 180000);
    QCOMPARE(timer.attenuation(), 1.0);
    timer.tick(start, 120000, 180000);
    QVERIFY(qAbs(timer.attenuation() - 0.5) < 0.001);
    timer.tick(start, 175000, 180000);
    QVERIFY(timer.attenuation() < 0.05);
    QCOMPARE(expired.count(), 0); // the end of the track decides, not the clock
    QVERIFY(timer.takeTrackEnd());
    QVERIFY(!timer.isActive());
    QCOMPARE(timer.attenuation(), 1.0);
    QVERIFY(!timer.takeTrackEnd());
}

void tst_SleepTimer::trackEnds_data()
{
    QTest::addColumn<bool>("stopAfter");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("stops");
    QTest::addColumn<bool>("activeAfter");
    QTest::newRow("nothing chosen") << false << 0 << false << false;
    QTest::newRow("stop after this track") << true << 0 << true << false;
    QTest::newRow("a timed choice does not stop at a track's end") << false << 30 << false << true;
    QTest::newRow("stop after this track beside a timed choice") << true << 30 << true << true;
}

void tst_SleepTimer::trackEnds()
{
    QFETCH(bool, stopAfter);
    QFETCH(int, minutes);
    QFETCH(bool, stops);
    QFETCH(bool, activeAfter);
    sleepTimer timer;
    timer.setStopAfterTrack(stopAfter);
    timer.startMinutes(minutes, start);
    QCOMPARE(timer.takeTrackEnd(), stops);
    QVERIFY(!timer.stopAfterTrack()); // once only
    QCOMPARE(timer.isActive(), activeAfter);
    QVERIFY(!timer.takeTrackEnd());
}

void tst_SleepTimer::cancelAndChange()
{
    sleepTimer timer;
    QSignalSpy expired(&timer, &sleepTimer::expired);
    timer.startMinutes(15, start);
    timer.tick(start.addSecs(14 * 60 + 30), 0, 0);
    QVERIFY(timer.attenuation() < 1.0);
    // A new choice in the middle of the fade starts over at full volume.
    timer.startMinutes(60, start.addSecs(14 * 60 + 30));
    QCOMPARE(timer.attenuation(), 1.0);
    timer.tick(start.addSecs(16 * 60), 0, 0);
    QCOMPARE(expired.count(), 0);
    QCOMPARE(timer.remainingText(start.addSecs(16 * 60)), QStringLiteral("58:30"));
    timer.tick(start.addSecs(74 * 60), 0, 0);
    QVERIFY(timer.attenuation() < 1.0);
    timer.cancel();
    QVERIFY(!timer.isActive());
    QCOMPARE(timer.attenuation(), 1.0);
    timer.tick(start.addSecs(80 * 60), 0, 0);
    QCOMPARE(expired.count(), 0);
}

QTEST_MAIN(tst_SleepTimer)
#include "tst_sleeptimer.moc"
