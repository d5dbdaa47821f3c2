// Keeping the machine awake for a coming alarm, against a stand-in logind on a private bus.
#include "desktop/sleepinhibitor.h"
#include "support/fakelogind.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_SleepInhibitor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unavailableWithoutBusOrLogind();
    void holdsWhileWantedAndReleases();
    void unwantedBeforeTheAnswerIsReleased();
    void refusedIsNotHeld();
    void busGoingAwayIsSurvived();

private:
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<FakeLogind> logind;
    int connections = 0;
    QDBusConnection client() { return bus->connect(QStringLiteral("client%1").arg(++connections)); }
    void startLogind()
    {
        logind = std::make_unique<FakeLogind>(bus->connect(QStringLiteral("logind%1").arg(++connections)));
        QVERIFY(logind->registered());
    }
};

void tst_SleepInhibitor::init()
{
    bus = std::make_unique<PrivateBus>();
    QVERIFY2(bus->isRunning(), "dbus-daemon did not start");
}

void tst_SleepInhibitor::cleanup()
{
    logind.reset();
    bus.reset();
}

void tst_SleepInhibitor::unavailableWithoutBusOrLogind()
{
    sleepInhibitor noBus(QDBusConnection(QStringLiteral("never-connected")));
    QVERIFY(!noBus.isAvailable());
    noBus.setWanted(true); // does nothing, says nothing
    QTest::qWait(100);
    QVERIFY(!noBus.isHeld());

    sleepInhibitor noLogind(client());
    QVERIFY(!noLogind.isAvailable());
    noLogind.setWanted(true);
    QTest::qWait(300);
    QVERIFY(!noLogind.isHeld());
}

void tst_SleepInhibitor::holdsWhileWantedAndReleases()
{
    startLogind();
    sleepInhibitor inhibitor(client());
    QVERIFY(inhibitor.isAvailable());
    QSignalSpy held(&inhibitor, &sleepInhibitor::heldChanged);
    inhibitor.setWanted(true);
    inhibitor.setWanted(true); // asked once only
    QTRY_VERIFY(inhibitor.isHeld());
    QCOMPARE(logind->inhibitCalls(), 1);
    QCOMPARE(logind->lastArguments.value(0), QStringLiteral("sleep:idle"));
    QCOMPARE(logind->lastArguments.value(1), QStringLiteral("Vurn"));
    QCOMPARE(logind->lastArguments.value(3), QStringLiteral("block"));
    QVERIFY(!logind->released(0));

    inhibitor.setWanted(false);
    QVERIFY(!inhibitor.isHeld());
    QTRY_VERIFY(logind->released(0));
    QCOMPARE(held.count(), 2);

    // Wanted again: a new inhibitor.
    inhibitor.setWanted(true);
    QTRY_VERIFY(inhibitor.isHeld());
    QCOMPARE(logind->inhibitCalls(), 2);
}

void tst_SleepInhibitor::unwantedBeforeTheAnswerIsReleased()
{
    startLogind();
    sleepInhibitor inhibitor(client());
    inhibitor.setWanted(true);
    inhibitor.setWanted(false); // before the event loop ran: the reply is still on its way
    QTRY_COMPARE(logind->inhibitCalls(), 1);
    QTRY_VERIFY(logind->released(0));
    QVERIFY(!inhibitor.isHeld());
}

void tst_SleepInhibitor::refusedIsNotHeld()
{
    startLogind();
    logind->refuse = true;
    sleepInhibitor inhibitor(client());
    inhibitor.setWanted(true);
    QTRY_VERIFY(!logind->lastArguments.isEmpty()); // asked, and answered with an error
    QTest::qWait(200);
    QVERIFY(!inhibitor.isHeld());
}

void tst_SleepInhibitor::busGoingAwayIsSurvived()
{
    startLogind();
    sleepInhibitor inhibitor(client());
    inhibitor.setWanted(true);
    QTRY_VERIFY(inhibitor.isHeld());
    logind.reset();
    bus->stop();
    QTest::qWait(200);
    inhibitor.setWanted(false);
    inhibitor.setWanted(true);
    QTest::qWait(200);
    QVERIFY(!inhibitor.isHeld());
}

QTEST_MAIN(tst_SleepInhibitor)
#include "tst_sleepinhibitor.moc"
