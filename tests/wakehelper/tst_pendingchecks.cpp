// The polkit checks a user may have out at once: a user's share, the cap for
// everyone, and Disarm's cancelling of the checks a user has out.
#include "wakehelper/pendingchecks.h"

#include <QTest>

class tst_pendingChecks : public QObject
{
    Q_OBJECT
private slots:
    void sharesAndCap_data()
    {
        QTest::addColumn<int>("users");       // each takes as many as it may
        QTest::addColumn<int>("takenByLast"); // what the last user then gets
        QTest::newRow("one user") << 1 << pendingChecks::perUser;
        QTest::newRow("many users, room left") << pendingChecks::overall / pendingChecks::perUser - 1
                                              << pendingChecks::perUser;
        QTest::newRow("everyone's cap reached") << pendingChecks::overall / pendingChecks::perUser + 1 << 0;
    }
    void sharesAndCap()
    {
        QFETCH(int, users);
        QFETCH(int, takenByLast);
        pendingChecks checks;
        for (uint uid = 1; uid < uint(users); ++uid) {
            for (int i = 0; i < pendingChecks::perUser; ++i)
                checks.take(uid);
            QVERIFY(!checks.take(uid)); // beyond one's share
        }
        int taken = 0;
        for (int i = 0; i < pendingChecks::perUser + 1; ++i)
            taken += checks.take(5000) ? 1 : 0;
        QCOMPARE(taken, takenByLast);
        QVERIFY(checks.outstanding() <= pendingChecks::overall);
    }

    void releaseGivesBackAndForgets()
    {
        pendingChecks checks;
        for (int i = 0; i < pendingChecks::perUser; ++i)
            QVERIFY(checks.take(1000));
        QVERIFY(!checks.take(1000));
        checks.release(1000);
        QVERIFY(checks.take(1000));
        for (int i = 0; i < pendingChecks::perUser; ++i)
            checks.release(1000);
        checks.release(1000); // one too many: ignored, not negative
        QCOMPARE(checks.outstanding(), 0);
        QCOMPARE(checks.users(), 0);
        QVERIFY(checks.take(1000));
        QCOMPARE(checks.outstanding(1000), 1);
    }

    void cancelVoidsOnlyThatUsersChecks()
    {
        pendingChecks checks;
        QVERIFY(checks.take(1000));
        QVERIFY(checks.take(1001));
        const quint64 before = checks.cancelCount(1000);
        checks.cancel(1000);
        QVERIFY(checks.cancelCount(1000) != before);
        QCOMPARE(checks.cancelCount(1001), quint64(0));
        checks.cancel(1002); // nothing out: nothing is kept for them
        QCOMPARE(checks.users(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_pendingChecks)
#include "tst_pendingchecks.moc"
