// The helper's timers on the plain clock: they expire when set to, and a
// cleared or replaced one does not.
#include "wakehelper/waketimer.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

class tst_wakeTimer : public QObject
{
    Q_OBJECT
private slots:
    void expiresAndClears()
    {
        wakeTimer timer(CLOCK_REALTIME);
        QVERIFY(timer.unavailableReason().isEmpty());
        QSignalSpy expired(&timer, &wakeTimer::expired);
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        QVERIFY(timer.set(1000, now + 1));
        QVERIFY(timer.set(1001, now + 1));
        QVERIFY(timer.set(1002, now + 1));
        timer.clear(1001);
        QVERIFY(timer.set(1002, now + 3600)); // replaced by a later one
        QVERIFY(expired.wait(5000));
        QTest::qWait(1500);
        QCOMPARE(expired.size(), 1);
        QCOMPARE(expired.at(0).at(0).toUInt(), 1000u);
        QVERIFY(!timer.isSet(1000));
        QVERIFY(timer.isSet(1002));
    }
};

QTEST_GUILESS_MAIN(tst_wakeTimer)
#include "tst_waketimer.moc"
