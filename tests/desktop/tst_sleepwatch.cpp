// Waking from sleep, told by a stand-in logind on a private bus.
#include "desktop/sleepwatch.h"
#include "support/fakelogind.h"

#include <QSignalSpy>
#include <QTest>

class tst_SleepWatch : public QObject
{
    Q_OBJECT

private slots:
    void tellsSleepAndResume();
    void silentWithoutBus();
};

void tst_SleepWatch::tellsSleepAndResume()
{
    PrivateBus bus;
    QVERIFY2(bus.isRunning(), "dbus-daemon did not start");
    FakeLogind logind(bus.connect(QStringLiteral("logind")));
    QVERIFY(logind.registered());
    sleepWatch watch(bus.connect(QStringLiteral("client")));
    QVERIFY(watch.isListening());
    QSignalSpy asleep(&watch, &sleepWatch::aboutToSleep);
    QSignalSpy resumed(&watch, &sleepWatch::resumed);
    logind.emitPrepareForSleep(true);
    QTRY_COMPARE(asleep.count(), 1);
    QCOMPARE(resumed.count(), 0);
    logind.emitPrepareForSleep(false);
    QTRY_COMPARE(resumed.count(), 1);
    QCOMPARE(asleep.count(), 1);
}

void tst_SleepWatch::silentWithoutBus()
{
    sleepWatch watch(QDBusConnection(QStringLiteral("never-connected")));
    QVERIFY(!watch.isListening());
}

QTEST_MAIN(tst_SleepWatch)
#include "tst_sleepwatch.moc"
