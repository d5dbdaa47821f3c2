// Arming the wake helper around sleep, against a stand-in logind and a
// stand-in helper on a private bus.
#include "alarm/alarmclock.h"
#include "desktop/sleepwatch.h"
#include "desktop/wakeclient.h"
#include "wakehelper/wakeservice.h"
#include "support/fakelogind.h"

#include <QDBusContext>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// Records the calls; answers CanWake and Arm as told.
class FakeHelper : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vurn.WakeHelper1")
public:
    explicit FakeHelper(const QDBusConnection &connection, FakeLogind *logindToWatch) : bus(connection), logind(logindToWatch)
    {
        registered = bus.registerObject(QStringLiteral("/org/vurn/WakeHelper"), this,
                                        QDBusConnection::ExportAllSlots)
                     && bus.registerService(QStringLiteral("org.vurn.WakeHelper"));
    }
    QDBusConnection bus;
    FakeLogind *logind;
    bool registered = false;
    bool canWake = true;
    enum class ArmAnswer { Armed, Error, Silent };
    ArmAnswer armAnswer = ArmAnswer::Armed;
    QList<qlonglong> arms;
    int disarms = 0;
    bool inhibitorHeldWhenArmed = false;

public Q_SLOTS:
    bool CanWake(QString &reason)
    {
        reason = canWake ? QString() : QStringLiteral("no wake-capable clock (Invalid argument)");
        return canWake;
    }
    void Arm(qlonglong at)
    {
        arms << at;
        // The machine must not be asleep yet: the delay inhibitor still holds.
        inhibitorHeldWhenArmed = logind->inhibitCalls() > 0 && !logind->released(logind->inhibitCalls() - 1);
        if (armAnswer == ArmAnswer::Error)
            sendErrorReply(QStringLiteral("org.vurn.WakeHelper.Error.Failed"), QStringLiteral("refused"));
        else if (armAnswer == ArmAnswer::Silent)
            setDelayedReply(true); // never answered
    }
    void Disarm() { ++disarms; }
};

class tst_wakeClient : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<FakeLogind> logind;
    std::unique_ptr<FakeHelper> helper;
    int connections = 0;
    QDateTime now = QDateTime(QDate(2026, 12, 9), QTime(23, 0));
    QDateTime next; // the next alarm the player knows of

    QDBusConnection connection() { return bus->connect(QStringLiteral("c%1").arg(++connections)); }

private slots:
    void init()
    {
        bus = std::make_unique<PrivateBus>();
        QVERIFY(bus->isRunning());
        logind = std::make_unique<FakeLogind>(connection());
        QVERIFY(logind->registered());
        helper = std::make_unique<FakeHelper>(connection(), logind.get());
        QVERIFY(helper->registered);
        alarmClock::setSource([this] { return now; });
    }
    void cleanup()
    {
        alarmClock::setSource({});
        helper.reset();
        logind.reset();
        bus.reset();
    }

    void armedBeforeSleepAndDisarmedAfter_data()
    {
        QTest::addColumn<bool>("switchedOn");
        QTest::addColumn<bool>("helperCanWake");
        QTest::addColumn<int>("alarmInMinutes"); // -1: no alarm
        QTest::addColumn<int>("wakeInSeconds");  // -1: nothing armed
        QTest::newRow("alarm at 07:00") << true << true << 8 * 60 << 8 * 3600 - 60;
        QTest::newRow("alarm in 23 h 59 min") << true << true << 24 * 60 - 1 << (24 * 60 - 1) * 60 - 60;
        QTest::newRow("alarm in 25 h") << true << true << 25 * 60 << -1;
        QTest::newRow("no alarm") << true << true << -1 << -1;
        QTest::newRow("switched off") << false << true << 8 * 60 << -1;
        QTest::newRow("no wake clock") << true << false << 8 * 60 << -1;
        QTest::newRow("alarm in a minute: as soon as the helper takes it") << true << true << 1 << 61;
    }
    void armedBeforeSleepAndDisarmedAfter()
    {
        QFETCH(bool, switchedOn);
        QFETCH(bool, helperCanWake);
        QFETCH(int, alarmInMinutes);
        QFETCH(int, wakeInSeconds);
        helper->canWake = helperCanWake;
        next = alarmInMinutes < 0 ? QDateTime() : now.addSecs(alarmInMinutes * 60);

        QDBusConnection player = connection();
        sleepWatch watch(player);
        wakeClient client(player, [this](const QDateTime &) { return next; });
        connect(&watch, &sleepWatch::aboutToSleep, &client, &wakeClient::prepareForSleep);
        connect(&watch, &sleepWatch::resumed, &client, &wakeClient::resumed);
        QSignalSpy availability(&client, &wakeClient::availabilityChanged);
        client.setEnabled(switchedOn);
        client.probe();
        QVERIFY(availability.wait(5000));
        QCOMPARE(client.isAvailable(), helperCanWake);
        if (!helperCanWake)
            QVERIFY(client.unavailableReason().contains(QStringLiteral("RTC")));

        // Held while it may be needed, as a delay inhibitor on sleep only.
        const bool holds = switchedOn && helperCanWake;
        if (holds) {
            QTRY_COMPARE(logind->inhibitCalls(), 1);
            QCOMPARE(logind->lastArguments.value(0), QStringLiteral("sleep"));
            QCOMPARE(logind->lastArguments.value(3), QStringLiteral("delay"));
        }

        logind->emitPrepareForSleep(true);
        if (holds)
            QTRY_VERIFY(logind->released(0)); // the machine may sleep now
        QTest::qWait(200);
        if (wakeInSeconds < 0) {
            QVERIFY(helper->arms.isEmpty());
            QVERIFY(!client.armedFor().isValid());
        } else {
            QCOMPARE(helper->arms.size(), 1);
            QCOMPARE(helper->arms[0], now.addSecs(wakeInSeconds).toSecsSinceEpoch());
            QVERIFY(helper->inhibitorHeldWhenArmed);
            QCOMPARE(client.armedFor(), now.addSecs(wakeInSeconds));
        }

        logind->emitPrepareForSleep(false);
        if (wakeInSeconds >= 0)
            QTRY_COMPARE(helper->disarms, 1);
        if (holds)
            QTRY_COMPARE(logind->inhibitCalls(), 2); // ready for the next sleep
        QTest::qWait(100);
        QCOMPARE(helper->disarms, wakeInSeconds >= 0 ? 1 : 0);
        QVERIFY(!client.armedFor().isValid());
    }

    // An Arm that errs or is never answered may still have armed: the player
    // takes it back before the machine sleeps, and again on resume.
    void failedArmIsTakenBack_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("error") << int(FakeHelper::ArmAnswer::Error);
        QTest::newRow("no answer") << int(FakeHelper::ArmAnswer::Silent);
    }
    void failedArmIsTakenBack()
    {
        QFETCH(int, answer);
        helper->armAnswer = FakeHelper::ArmAnswer(answer);
        next = now.addSecs(8 * 3600);
        QDBusConnection player = connection();
        sleepWatch watch(player);
        wakeClient client(player, [this](const QDateTime &) { return next; });
        connect(&watch, &sleepWatch::aboutToSleep, &client, &wakeClient::prepareForSleep);
        connect(&watch, &sleepWatch::resumed, &client, &wakeClient::resumed);
        QSignalSpy availability(&client, &wakeClient::availabilityChanged);
        client.setEnabled(true);
        client.probe();
        QVERIFY(availability.wait(5000));
        QTRY_COMPARE(logind->inhibitCalls(), 1);

        logind->emitPrepareForSleep(true);
        QTRY_COMPARE_WITH_TIMEOUT(helper->disarms, 1, 15000);
        QTRY_VERIFY(logind->released(0)); // only after the Disarm went out
        QCOMPARE(helper->arms.size(), 1);
        QVERIFY(!client.armedFor().isValid());

        logind->emitPrepareForSleep(false);
        QTRY_COMPARE(helper->disarms, 2);
        QTRY_COMPARE(logind->inhibitCalls(), 2);
    }

    // The helper gives up on polkit before the player gives up on Arm, and
    // Arm and the Disarm after a failed one fit in logind's 5 s sleep delay.
    void waitsFitInsideTheSleepDelay()
    {
        QVERIFY(wakeService::polkitTimeoutMsec < wakeClient::armTimeoutMsec);
        QVERIFY(wakeClient::armTimeoutMsec + wakeClient::disarmTimeoutMsec < 5000);
    }

    // No helper on the bus: greyed out with a reason, and nothing waits.
    void missingHelper()
    {
        helper.reset();
        QDBusConnection player = connection();
        wakeClient client(player, [this](const QDateTime &) { return now.addSecs(3600); });
        QSignalSpy availability(&client, &wakeClient::availabilityChanged);
        client.setEnabled(true);
        client.probe();
        QVERIFY(availability.wait(5000));
        QVERIFY(!client.isAvailable());
        QVERIFY(!client.unavailableReason().isEmpty());
        client.prepareForSleep();
        QTest::qWait(100);
        QCOMPARE(logind->inhibitCalls(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_wakeClient)
#include "tst_wakeclient.moc"
