// The helper's timers on the plain clock: they expire when set to, a cleared
// or replaced one does not, and a replacement the kernel refuses keeps the old.
#include "wakehelper/waketimer.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

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

    // No descriptor left to make a timer with: the replacement fails and the
    // earlier timer is still set, and still expires.
    void refusedReplacementKeepsTheOld()
    {
        wakeTimer timer(CLOCK_REALTIME);
        QSignalSpy expired(&timer, &wakeTimer::expired);
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        QVERIFY(timer.set(1000, now + 2));
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
        const int lowestFree = fcntl(0, F_DUPFD_CLOEXEC, 0);
        QVERIFY(lowestFree >= 0);
        close(lowestFree);
        rlimit tight = saved;
        tight.rlim_cur = rlim_t(lowestFree);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &tight), 0);
        const bool replaced = timer.set(1000, now + 3600);
        setrlimit(RLIMIT_NOFILE, &saved);
        QVERIFY(!replaced);
        QVERIFY(timer.isSet(1000));
        QVERIFY(expired.wait(6000));
        QCOMPARE(expired.at(0).at(0).toUInt(), 1000u);
    }
};

QTEST_GUILESS_MAIN(tst_wakeTimer)
#include "tst_waketimer.moc"
