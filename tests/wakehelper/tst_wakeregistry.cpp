// The helper's rules apart from the bus: ranges, one wake per user, owners
// that go away, and the per-user rate limit.
#include "wakehelper/wakeregistry.h"

#include <QTest>

#include <limits>

class tst_wakeRegistry : public QObject
{
    Q_OBJECT
private slots:
    void judge_data()
    {
        QTest::addColumn<qint64>("ahead");
        QTest::addColumn<bool>("accepted");
        const qint64 big = std::numeric_limits<qint64>::max() / 2;
        QTest::newRow("in the past") << qint64(-3600) << false;
        QTest::newRow("now") << qint64(0) << false;
        QTest::newRow("59 s") << qint64(59) << false;
        QTest::newRow("one minute") << qint64(60) << true;
        QTest::newRow("eight hours") << qint64(8 * 3600) << true;
        QTest::newRow("24 hours") << qint64(24 * 3600) << true;
        QTest::newRow("24 hours and a second") << qint64(24 * 3600 + 1) << false;
        QTest::newRow("far future") << big << false;
        QTest::newRow("far past") << -big << false;
    }
    void judge()
    {
        QFETCH(qint64, ahead);
        QFETCH(bool, accepted);
        const qint64 now = 1'800'000'000;
        QCOMPARE(wakeRegistry::judge(now + ahead, now) == wakeRegistry::Verdict::Accepted, accepted);
    }

    void extremeTimesAreRefused()
    {
        const qint64 now = 1'800'000'000;
        QVERIFY(wakeRegistry::judge(std::numeric_limits<qint64>::max(), now) == wakeRegistry::Verdict::OutOfRange);
        QVERIFY(wakeRegistry::judge(std::numeric_limits<qint64>::min(), now) == wakeRegistry::Verdict::OutOfRange);
    }

    void oneWakePerUser()
    {
        wakeRegistry registry;
        registry.arm(1000, QStringLiteral(":1.5"), 100);
        registry.arm(1001, QStringLiteral(":1.6"), 200);
        registry.arm(1000, QStringLiteral(":1.7"), 300); // the same user again: replaces theirs
        QCOMPARE(registry.size(), 2);
        QCOMPARE(registry.wakeTime(1000), qint64(300));
        QCOMPARE(registry.wakeTime(1001), qint64(200)); // the other user's stays

        // The connection that asked first is gone: its wake was already replaced.
        QVERIFY(registry.forgetOwner(QStringLiteral(":1.5")).isEmpty());
        QCOMPARE(registry.forgetOwner(QStringLiteral(":1.7")), QVector<uint>{1000});
        QVERIFY(!registry.isArmed(1000));
        QVERIFY(registry.isArmed(1001));

        QVERIFY(registry.disarm(1001));
        QVERIFY(!registry.disarm(1001));
        QVERIFY(registry.isEmpty());
    }

    void callsAreRateLimitedPerUser()
    {
        wakeRegistry registry;
        const qint64 now = 1'800'000'000;
        for (int i = 0; i < wakeRegistry::callsPerWindow; ++i)
            QVERIFY(registry.admit(1000, now));
        QVERIFY(!registry.admit(1000, now + 1));
        QVERIFY(registry.admit(1001, now + 1)); // another user is not held back
        QVERIFY(registry.admit(1000, now + wakeRegistry::windowSeconds)); // the window has passed
    }

    // Callers who stopped calling leave nothing behind once their minute is over.
    void oldHistoryIsPruned()
    {
        wakeRegistry registry;
        const qint64 now = 1'800'000'000;
        for (uint uid = 1; uid <= 500; ++uid)
            QVERIFY(registry.admit(uid, now));
        QCOMPARE(registry.recentCallers(), 500);
        QVERIFY(registry.admit(1000, now + wakeRegistry::windowSeconds + 1));
        QCOMPARE(registry.recentCallers(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_wakeRegistry)
#include "tst_wakeregistry.moc"
