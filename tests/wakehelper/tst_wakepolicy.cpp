// The helper's bus policy as the bus enforces it, tried by callers of other
// users (setpriv): who may own the name, who may call what, and that one
// user's Disarm leaves another's wake alone.
#include "support/systemlikebus.h"

#include <QDBusConnectionInterface>
#include <QDateTime>
#include <QProcess>
#include <QTest>

#include <memory>
#include <pwd.h>

class tst_wakePolicy : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<SystemLikeBus> bus;
    QProcess polkit;
    QProcess helper;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus->address());
        return env;
    }
    // dbus-send as `user`; its output and errors together.
    QString sendAs(const QString &user, const QString &destination, const QString &path, const QString &method,
                   const QStringList &args = {})
    {
        QProcess send;
        send.setProcessEnvironment(environment());
        send.setProcessChannelMode(QProcess::MergedChannels);
        const passwd *account = getpwnam(user.toLocal8Bit().constData());
        if (!account)
            return QStringLiteral("(no user %1)").arg(user);
        QStringList command{QStringLiteral("--reuid=") + user, QStringLiteral("--regid=%1").arg(account->pw_gid),
                            QStringLiteral("--clear-groups"), QStringLiteral("dbus-send"), QStringLiteral("--system"),
                            QStringLiteral("--print-reply"), QStringLiteral("--reply-timeout=15000"),
                            QStringLiteral("--dest=") + destination, path, method};
        send.start(QStringLiteral("setpriv"), command + args);
        if (!send.waitForFinished(30000))
            return QStringLiteral("(no answer)");
        return QString::fromUtf8(send.readAll());
    }
    QString callHelperAs(const QString &user, const QString &method, const QStringList &args = {})
    {
        return sendAs(user, QStringLiteral("org.vurn.WakeHelper"), QStringLiteral("/org/vurn/WakeHelper"), method,
                      args);
    }

private slots:
    void initTestCase()
    {
        if (!SystemLikeBus::runsAsRoot())
            QSKIP("callers of other users need root");
    }
    void init()
    {
        bus = std::make_unique<SystemLikeBus>();
        QVERIFY(bus->isRunning());
        polkit.setProcessEnvironment(environment());
        polkit.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                                          QStringLiteral("--system"), QStringLiteral("--template"),
                                                          QStringLiteral("polkitd")});
        QVERIFY(polkit.waitForStarted());
        helper.setProcessEnvironment(environment());
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(qEnvironmentVariable("VURN_TEST_BINARY_DIR") + QStringLiteral("/vurn-wake-helper"),
                     {QStringLiteral("--plain-clock"), QStringLiteral("--idle-seconds"), QStringLiteral("1")});
        QVERIFY(helper.waitForStarted(5000));
        QDBusConnection watcher = bus->connect(QStringLiteral("watcher"));
        QTRY_VERIFY_WITH_TIMEOUT(
            watcher.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.PolicyKit1")).value()
                && watcher.interface()->isServiceRegistered(QStringLiteral("org.vurn.WakeHelper")).value(),
            15000);
        QDBusMessage allow = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.PolicyKit1"), QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("SetAllowed"));
        allow << QStringList{QStringLiteral("org.vurn.vurn.wake-for-alarm")};
        QCOMPARE(watcher.call(allow, QDBus::Block, 15000).type(), QDBusMessage::ReplyMessage);
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

    void onlyTheHelpersUserOwnsTheName_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("root") << "root" << false;
        QTest::newRow("nobody") << "nobody" << false;
        QTest::newRow("the helper's user") << "vurn-wake" << true;
    }
    void onlyTheHelpersUserOwnsTheName()
    {
        QFETCH(QString, user);
        QFETCH(bool, allowed);
        // Flag 4: do not queue; the running helper holds it, so the owner may only wait.
        const QString answer =
            sendAs(user, QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                   QStringLiteral("org.freedesktop.DBus.RequestName"),
                   {QStringLiteral("string:org.vurn.WakeHelper"), QStringLiteral("uint32:4")});
        QCOMPARE(answer.contains(QLatin1String("AccessDenied")), !allowed);
        if (allowed)
            QVERIFY2(answer.contains(QLatin1String("uint32 3")), qPrintable(answer)); // exists: not taken over
    }

    void callersOfOtherUsers_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("answer"); // a part of dbus-send's output
        QTest::newRow("CanWake") << "org.vurn.WakeHelper1.CanWake" << QStringList() << "boolean true";
        QTest::newRow("Arm, then the connection goes")
            << "org.vurn.WakeHelper1.Arm"
            << QStringList{QStringLiteral("int64:%1").arg(QDateTime::currentSecsSinceEpoch() + 600)}
            << "method return";
        QTest::newRow("Disarm") << "org.vurn.WakeHelper1.Disarm" << QStringList() << "method return";
        QTest::newRow("another interface") << "org.freedesktop.DBus.Properties.GetAll"
                                           << QStringList{QStringLiteral("string:org.vurn.WakeHelper1")}
                                           << "AccessDenied";
    }
    void callersOfOtherUsers()
    {
        QFETCH(QString, method);
        QFETCH(QStringList, args);
        QFETCH(QString, answer);
        const QString got = callHelperAs(QStringLiteral("nobody"), method, args);
        QVERIFY2(got.contains(answer), qPrintable(got));
    }

    // Root's player holds a wake; nobody's Disarm is about nobody's own, so
    // the helper stays (it exits once it holds nothing) until root disarms.
    void disarmLeavesOtherUsersWake()
    {
        QDBusConnection player = bus->connect(QStringLiteral("player"));
        QDBusMessage arm = QDBusMessage::createMethodCall(QStringLiteral("org.vurn.WakeHelper"),
                                                          QStringLiteral("/org/vurn/WakeHelper"),
                                                          QStringLiteral("org.vurn.WakeHelper1"), QStringLiteral("Arm"));
        arm << qlonglong(QDateTime::currentSecsSinceEpoch() + 600);
        const QDBusMessage armed = player.call(arm, QDBus::Block, 15000);
        QVERIFY2(armed.type() == QDBusMessage::ReplyMessage, qPrintable(armed.errorMessage()));
        QVERIFY(callHelperAs(QStringLiteral("nobody"), QStringLiteral("org.vurn.WakeHelper1.Disarm"))
                    .contains(QLatin1String("method return")));
        QTest::qWait(2500); // past the idle time
        QCOMPARE(helper.state(), QProcess::Running);
        QDBusMessage disarm = QDBusMessage::createMethodCall(
            QStringLiteral("org.vurn.WakeHelper"), QStringLiteral("/org/vurn/WakeHelper"),
            QStringLiteral("org.vurn.WakeHelper1"), QStringLiteral("Disarm"));
        QCOMPARE(player.call(disarm, QDBus::Block, 15000).type(), QDBusMessage::ReplyMessage);
        QVERIFY(helper.waitForFinished(15000));
    }
};

QTEST_GUILESS_MAIN(tst_wakePolicy)
#include "tst_wakepolicy.moc"
