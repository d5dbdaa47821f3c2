// Around an occurrence: the lid and sleep held from a minute before until the
// ringing ends (stand-in logind), and a silent output told ahead of time
// (the private sound server's sink).
#include "desktop/outputguard.h"
#include "desktop/ringingdesktop.h"
#include "desktop/sleepinhibitor.h"
#include "support/fakelogind.h"
#include "support/soundserverprobe.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_ringingDesktop : public QObject
{
    Q_OBJECT
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<FakeLogind> logind;
    const QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(6, 0));

private slots:
    void init()
    {
        bus = std::make_unique<PrivateBus>();
        QVERIFY(bus->isRunning());
        logind = std::make_unique<FakeLogind>(bus->connect(QStringLiteral("logind")));
        QVERIFY(logind->registered());
    }
    void cleanup()
    {
        SoundServerProbe::setSinkMuted(false);
        SoundServerProbe::setSinkVolume(100);
        logind.reset();
        bus.reset();
    }

    void lidHeldFromAMinuteBeforeUntilTheEnd()
    {
        ringingDesktop desk(bus->connect(QStringLiteral("player")), QDBusConnection(QStringLiteral("no session")));
        desk.setUnmuteEnabled(false);
        const QDateTime alarm = now.addSecs(3600);
        desk.setUpcoming(alarm, now);
        QTest::qWait(200);
        QCOMPARE(logind->inhibitCalls(), 0);

        desk.setUpcoming(alarm, alarm.addSecs(-60));
        QTRY_COMPARE(logind->inhibitCalls(), 1);
        QCOMPARE(logind->lastArguments.value(0), QStringLiteral("sleep:handle-lid-switch"));
        QCOMPARE(logind->lastArguments.value(3), QStringLiteral("block"));
        QTRY_VERIFY(desk.lidInhibitor()->isHeld());

        desk.begin(alarm, QString(), 30);
        // Ringing: the next occurrence is another day, and the lid stays held.
        desk.setUpcoming(alarm.addDays(1), alarm.addSecs(5));
        QTest::qWait(200);
        QVERIFY(!logind->released(0));

        desk.end();
        QTRY_VERIFY(logind->released(0));
        QCOMPARE(logind->inhibitCalls(), 1);
    }

    void silentOutputToldAhead_data()
    {
        QTest::addColumn<bool>("muted");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("hoursAhead");
        QTest::addColumn<bool>("unmute");
        QTest::addColumn<QString>("warning");
        QTest::newRow("muted, alarm in 8 h") << true << 80 << 8 << false << "音が消されています";
        QTest::newRow("muted, will be unmuted") << true << 80 << 8 << true << "消音中（鳴る時に解除）";
        QTest::newRow("5 %, alarm in 8 h") << false << 5 << 8 << false << "音量が小さすぎます";
        QTest::newRow("muted, alarm in 13 h") << true << 80 << 13 << false << "";
        QTest::newRow("audible") << false << 50 << 8 << false << "";
    }
    void silentOutputToldAhead()
    {
        QFETCH(bool, muted);
        QFETCH(int, percent);
        QFETCH(int, hoursAhead);
        QFETCH(bool, unmute);
        QFETCH(QString, warning);
        QVERIFY(SoundServerProbe::setSinkMuted(muted));
        QVERIFY(SoundServerProbe::setSinkVolume(percent));
        ringingDesktop desk(QDBusConnection(QStringLiteral("no system")), QDBusConnection(QStringLiteral("no session")));
        desk.setUnmuteEnabled(unmute);
        QSignalSpy state(desk.output(), &outputGuard::stateChanged);
        desk.setUpcoming(now.addSecs(hoursAhead * 3600), now);
        if (hoursAhead <= 12)
            QVERIFY(state.wait(5000));
        else
            QTest::qWait(300);
        QCOMPARE(desk.silentWarning(), warning);
    }
};

QTEST_GUILESS_MAIN(tst_ringingDesktop)
#include "tst_ringingdesktop.moc"
