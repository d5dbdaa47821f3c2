// The real helper executable on a private bus that enforces the helper's own
// bus policy, with python3-dbusmock's polkitd standing in for polkit and the
// plain clock standing in for the wake clock.
#include "support/systemlikebus.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDateTime>
#include <QProcess>
#include <QTest>

#include <memory>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {
const char helperService[] = "org.vurn.WakeHelper";
const char polkitService[] = "org.freedesktop.PolicyKit1";
const char action[] = "org.vurn.vurn.wake-for-alarm";
} // namespace

class tst_wakeService : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<SystemLikeBus> bus;
    QProcess polkit;
    QProcess helper;
    int connections = 0;

    QDBusConnection client()
    {
        return bus->connect(QStringLiteral("client%1").arg(++connections));
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus->address());
        return env;
    }
    bool startHelper(const QStringList &arguments)
    {
        helper.setProcessEnvironment(environment());
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(qEnvironmentVariable("VURN_TEST_BINARY_DIR") + QStringLiteral("/vurn-wake-helper"), arguments);
        if (!helper.waitForStarted(5000))
            return false;
        QDBusConnection watcher = client();
        for (int i = 0; i < 100 && !watcher.interface()->isServiceRegistered(QLatin1String(helperService)); ++i)
            QTest::qWait(50);
        return watcher.interface()->isServiceRegistered(QLatin1String(helperService));
    }
    void allow(bool allowed)
    {
        QDBusInterface mock(QLatin1String(polkitService), QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
                            QStringLiteral("org.freedesktop.DBus.Mock"), client());
        const QDBusMessage reply =
            mock.call(QStringLiteral("SetAllowed"), allowed ? QStringList{QLatin1String(action)} : QStringList());
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }
    void polkitMock(const QString &method, const QVariantList &args = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QLatin1String(polkitService), QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
            QStringLiteral("org.freedesktop.DBus.Mock"), method);
        message.setArguments(args);
        const QDBusMessage reply = client().call(message, QDBus::Block, 15000);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }
    QDBusPendingCall callLater(const QDBusConnection &connection, const QString &method, const QVariantList &args = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(helperService),
                                                              QStringLiteral("/org/vurn/WakeHelper"),
                                                              QStringLiteral("org.vurn.WakeHelper1"), method);
        message.setArguments(args);
        return connection.asyncCall(message, 30000);
    }
    QDBusMessage call(const QDBusConnection &connection, const QString &method, const QVariantList &args = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(helperService),
                                                              QStringLiteral("/org/vurn/WakeHelper"),
                                                              QStringLiteral("org.vurn.WakeHelper1"), method);
        message.setArguments(args);
        return connection.call(message, QDBus::Block, 15000);
    }
    static qint64 ahead(qint64 seconds)
    {
        return QDateTime::currentSecsSinceEpoch() + seconds;
    }

private slots:
    void init()
    {
        bus = std::make_unique<SystemLikeBus>();
        QVERIFY(bus->isRunning());
        polkit.setProcessEnvironment(environment());
        polkit.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                                          QStringLiteral("--system"), QStringLiteral("--template"),
                                                          QStringLiteral("polkitd")});
        QVERIFY(polkit.waitForStarted());
        QDBusConnection watcher = client();
        QTRY_VERIFY_WITH_TIMEOUT(watcher.interface()->isServiceRegistered(QLatin1String(polkitService)), 15000);
    }
    void cleanup()
    {
        for (QProcess *process : {&helper, &polkit}) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000))
                    process->kill();
                process->waitForFinished(3000);
            }
        }
        bus.reset();
    }

    void armIsJudged_data()
    {
        QTest::addColumn<bool>("authorised");
        QTest::addColumn<QVariant>("at");
        QTest::addColumn<QString>("error"); // empty: accepted
        QTest::newRow("two minutes ahead") << true << QVariant(ahead(120)) << "";
        QTest::newRow("23 hours ahead") << true << QVariant(ahead(23 * 3600)) << "";
        QTest::newRow("30 s ahead") << true << QVariant(ahead(30)) << "org.vurn.WakeHelper.Error.OutOfRange";
        QTest::newRow("25 hours ahead") << true << QVariant(ahead(25 * 3600)) << "org.vurn.WakeHelper.Error.OutOfRange";
        QTest::newRow("in the past") << true << QVariant(ahead(-600)) << "org.vurn.WakeHelper.Error.OutOfRange";
        QTest::newRow("largest number") << true << QVariant(std::numeric_limits<qint64>::max())
                                        << "org.vurn.WakeHelper.Error.OutOfRange";
        QTest::newRow("not a number") << true << QVariant(QStringLiteral("07:00"))
                                      << "org.freedesktop.DBus.Error.UnknownMethod";
        QTest::newRow("not authorised") << false << QVariant(ahead(120))
                                        << "org.vurn.WakeHelper.Error.NotAuthorized";
    }
    void armIsJudged()
    {
        QFETCH(bool, authorised);
        QFETCH(QVariant, at);
        QFETCH(QString, error);
        allow(authorised);
        QVERIFY(startHelper({QStringLiteral("--plain-clock")}));
        QDBusConnection player = client();
        const QDBusMessage reply = call(player, QStringLiteral("Arm"), {at});
        if (error.isEmpty())
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        else
            QCOMPARE(reply.errorName(), error);
    }

    void canWakeSaysWhy_data()
    {
        QTest::addColumn<bool>("authorised");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("reason");
        QTest::newRow("allowed") << true << true << "";
        QTest::newRow("refused by polkit") << false << false << "not authorised";
    }
    void canWakeSaysWhy()
    {
        QFETCH(bool, authorised);
        allow(authorised);
        QVERIFY(startHelper({QStringLiteral("--plain-clock")}));
        const QDBusMessage reply = call(client(), QStringLiteral("CanWake"));
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QTEST(reply.arguments().value(0).toBool(), "available");
        QTEST(reply.arguments().value(1).toString(), "reason");
    }

    // The real wake clock: where the kernel has none (a virtual machine) or
    // the helper lacks the capability, it says so and arms nothing.
    void realClockRefusesWhereThereIsNone()
    {
        timespec resolution{};
        bool present = clock_getres(CLOCK_REALTIME_ALARM, &resolution) == 0;
        if (present) {
            const int probe = timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC);
            present = probe >= 0;
            if (probe >= 0)
                close(probe);
        }
        allow(true);
        QVERIFY(startHelper({}));
        QDBusConnection player = client();
        const QDBusMessage canWake = call(player, QStringLiteral("CanWake"));
        QCOMPARE(canWake.arguments().value(0).toBool(), present);
        const QDBusMessage arm = call(player, QStringLiteral("Arm"), {QVariant(ahead(120))});
        if (present) {
            QCOMPARE(arm.type(), QDBusMessage::ReplyMessage);
        } else {
            QVERIFY(!canWake.arguments().value(1).toString().isEmpty());
            QCOMPARE(arm.errorName(), QStringLiteral("org.vurn.WakeHelper.Error.Unavailable"));
        }
    }

    // Holding a wake keeps the helper; the player going away, or disarming,
    // lets it go, and with nothing held it exits by itself.
    void heldUntilTheOwnerGoes_data()
    {
        QTest::addColumn<bool>("disarm");
        QTest::newRow("player ends") << false;
        QTest::newRow("player disarms") << true;
    }
    void heldUntilTheOwnerGoes()
    {
        QFETCH(bool, disarm);
        allow(true);
        QVERIFY(startHelper({QStringLiteral("--plain-clock"), QStringLiteral("--idle-seconds"), QStringLiteral("1")}));
        {
            QDBusConnection player = client();
            QCOMPARE(call(player, QStringLiteral("Arm"), {QVariant(ahead(600))}).type(), QDBusMessage::ReplyMessage);
            // Another user of the same helper: a connection that only asks.
            QCOMPARE(call(client(), QStringLiteral("CanWake")).type(), QDBusMessage::ReplyMessage);
            QTest::qWait(2500); // well past the idle time
            QCOMPARE(helper.state(), QProcess::Running);
            if (disarm)
                QCOMPARE(call(player, QStringLiteral("Disarm")).type(), QDBusMessage::ReplyMessage);
            else
                QDBusConnection::disconnectFromBus(player.name());
        }
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitCode(), 0);
    }

    void floodIsRateLimited()
    {
        allow(true);
        QVERIFY(startHelper({QStringLiteral("--plain-clock")}));
        QDBusConnection player = client();
        int limited = 0;
        for (int i = 0; i < 40; ++i) {
            if (call(player, QStringLiteral("CanWake")).errorName()
                == QLatin1String("org.vurn.WakeHelper.Error.RateLimited"))
                ++limited;
        }
        QVERIFY(limited >= 15);
        QVERIFY(limited < 40);
    }

    // With polkit not answering, a user's calls beyond their share are refused
    // at once, and their Disarm is answered all the same.
    void slowPolkitHoldsOnlyTheUsersShare()
    {
        allow(true);
        polkitMock(QStringLiteral("SimulateHang"), {true});
        QVERIFY(startHelper({QStringLiteral("--plain-clock")}));
        QDBusConnection player = client();
        QList<QDBusPendingCall> waiting;
        for (int i = 0; i < 4; ++i)
            waiting.append(callLater(player, QStringLiteral("CanWake")));
        QTRY_VERIFY_WITH_TIMEOUT(call(client(), QStringLiteral("CanWake")).errorName()
                                     == QLatin1String("org.vurn.WakeHelper.Error.RateLimited"),
                                 15000);
        QCOMPARE(call(player, QStringLiteral("Disarm")).type(), QDBusMessage::ReplyMessage);
        for (const QDBusPendingCall &pending : waiting)
            QVERIFY(!pending.isFinished());
        polkitMock(QStringLiteral("ReleaseHangingCalls"));
        for (QDBusPendingCall pending : waiting) {
            pending.waitForFinished();
            QVERIFY2(!pending.isError(), qPrintable(pending.error().message()));
        }
    }

    // An Arm still waiting on polkit arms nothing when its user disarms or
    // its caller goes; with nothing held the helper then exits by itself.
    void waitingArmIsVoided_data()
    {
        QTest::addColumn<bool>("disarm"); // else the caller goes
        QTest::newRow("Disarm meanwhile") << true;
        QTest::newRow("caller gone meanwhile") << false;
    }
    void waitingArmIsVoided()
    {
        QFETCH(bool, disarm);
        allow(true);
        polkitMock(QStringLiteral("SimulateHang"), {true});
        QVERIFY(startHelper({QStringLiteral("--plain-clock"), QStringLiteral("--idle-seconds"), QStringLiteral("1")}));
        QString playerName;
        {
            QDBusConnection player = client();
            playerName = player.baseService();
            QDBusPendingCall arm = callLater(player, QStringLiteral("Arm"), {QVariant(ahead(600))});
            QDBusInterface mock(QLatin1String(polkitService), QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
                                QStringLiteral("org.freedesktop.DBus.Mock"), client());
            QTRY_VERIFY_WITH_TIMEOUT(QDBusReply<bool>(mock.call(QStringLiteral("HaveHangingCalls"))).value(), 15000);
            if (disarm) {
                QCOMPARE(call(player, QStringLiteral("Disarm")).type(), QDBusMessage::ReplyMessage);
                polkitMock(QStringLiteral("ReleaseHangingCalls"));
                arm.waitForFinished();
                QCOMPARE(arm.error().name(), QStringLiteral("org.vurn.WakeHelper.Error.Cancelled"));
            } else {
                // The connection closes as its last handle goes, at the end of this block.
                QDBusConnection::disconnectFromBus(player.name());
            }
        }
        if (!disarm) {
            QDBusConnection watcher = client();
            QTRY_VERIFY_WITH_TIMEOUT(!watcher.interface()->isServiceRegistered(playerName).value(), 15000);
            polkitMock(QStringLiteral("ReleaseHangingCalls"));
        }
        QVERIFY(helper.waitForFinished(15000)); // holds nothing: idle
        QCOMPARE(helper.exitCode(), 0);
    }

    // polkit never answering: the helper answers Arm by itself, before the
    // player would give up on it.
    void silentPolkitIsNotWaitedOnForever()
    {
        allow(true);
        polkitMock(QStringLiteral("SimulateHang"), {true});
        QVERIFY(startHelper({QStringLiteral("--plain-clock")}));
        const QDBusMessage reply = call(client(), QStringLiteral("Arm"), {QVariant(ahead(600))});
        QCOMPARE(reply.errorName(), QStringLiteral("org.vurn.WakeHelper.Error.NotAuthorized"));
    }

    void unknownArgumentsAreRefused()
    {
        QProcess bad;
        bad.start(qEnvironmentVariable("VURN_TEST_BINARY_DIR") + QStringLiteral("/vurn-wake-helper"),
                  {QStringLiteral("--idle-seconds"), QStringLiteral("0")});
        QVERIFY(bad.waitForFinished(5000));
        QCOMPARE(bad.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_wakeService)
#include "tst_wakeservice.moc"
