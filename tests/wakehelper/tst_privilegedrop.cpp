// What the helper holds once running, read from the kernel: started as root
// the way the bus's launch helper starts it, and as its user with the
// capability ambient the way the systemd unit does (setpriv standing in for
// systemd, which is not PID 1 here).
#include "support/systemlikebus.h"
#include "wakehelper/privilegedrop.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

namespace {
const QString wakeAlarmOnly = QStringLiteral("0000000800000000"); // CAP_WAKE_ALARM, 35
const QString none = QStringLiteral("0000000000000000");

QMap<QString, QString> processStatus(qint64 pid)
{
    QMap<QString, QString> fields;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return fields;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0)
            fields.insert(QString::fromLatin1(line.left(colon)), QString::fromLatin1(line.mid(colon + 1)).simplified());
    }
    return fields;
}
} // namespace

class tst_privilegeDrop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!SystemLikeBus::runsAsRoot())
            QSKIP("starting the helper as another user needs root");
        QVERIFY(SystemLikeBus::ensureServiceUser());
    }

    void holdsOnlyTheWakeCapability_data()
    {
        QTest::addColumn<QStringList>("launcher"); // empty: the helper itself, as root
        QTest::addColumn<QString>("inheritable");  // and ambient
        QTest::newRow("started by the bus") << QStringList() << none;
        QTest::newRow("started by the unit")
            << QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=vurn-wake"),
                           QStringLiteral("--regid=vurn-wake"), QStringLiteral("--clear-groups"),
                           QStringLiteral("--inh-caps=-all,+wake_alarm"), QStringLiteral("--ambient-caps=-all,+wake_alarm"),
                           QStringLiteral("--bounding-set=-all,+wake_alarm"), QStringLiteral("--no-new-privs")}
            << wakeAlarmOnly;
    }
    void holdsOnlyTheWakeCapability()
    {
        QFETCH(QStringList, launcher);
        QFETCH(QString, inheritable);
        SystemLikeBus bus;
        QVERIFY(bus.isRunning());
        QProcess helper;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.address());
        helper.setProcessEnvironment(env);
        helper.setProcessChannelMode(QProcess::ForwardedChannels);
        QStringList command = launcher;
        command << qEnvironmentVariable("VURN_TEST_BINARY_DIR") + QStringLiteral("/vurn-wake-helper")
                << QStringLiteral("--plain-clock");
        helper.start(command.takeFirst(), command);
        QVERIFY(helper.waitForStarted(5000));
        QDBusConnection watcher = bus.connect(QStringLiteral("watcher"));
        QTRY_VERIFY_WITH_TIMEOUT(watcher.interface()->isServiceRegistered(QStringLiteral("org.vurn.WakeHelper")).value(),
                                 15000);
        // The helper itself, not setpriv: setpriv execs it in place.
        const QMap<QString, QString> status = processStatus(helper.processId());
        helper.terminate();
        helper.waitForFinished(5000);

        const passwd *user = getpwnam(privilegeDrop::serviceUser);
        QVERIFY(user);
        const QString uid = QString::number(user->pw_uid);
        const QString gid = QString::number(user->pw_gid);
        QCOMPARE(status.value(QStringLiteral("Uid")), QStringList({uid, uid, uid, uid}).join(QLatin1Char(' ')));
        QCOMPARE(status.value(QStringLiteral("Gid")), QStringList({gid, gid, gid, gid}).join(QLatin1Char(' ')));
        QCOMPARE(status.value(QStringLiteral("Groups")), QString());
        QCOMPARE(status.value(QStringLiteral("CapEff")), wakeAlarmOnly);
        QCOMPARE(status.value(QStringLiteral("CapPrm")), wakeAlarmOnly);
        QCOMPARE(status.value(QStringLiteral("CapBnd")), wakeAlarmOnly);
        QCOMPARE(status.value(QStringLiteral("CapInh")), inheritable);
        QCOMPARE(status.value(QStringLiteral("CapAmb")), inheritable);
        QCOMPARE(status.value(QStringLiteral("NoNewPrivs")), QStringLiteral("1"));
    }

    // Refused before anything is changed, so safe to ask in this process.
    void unfitUsersAreRefused_data()
    {
        QTest::addColumn<QString>("user");
        QTest::newRow("missing") << QStringLiteral("vurn-no-such-user");
        QTest::newRow("root itself") << QStringLiteral("root");
    }
    void unfitUsersAreRefused()
    {
        QFETCH(QString, user);
        QVERIFY(!privilegeDrop::keepOnlyWakeAlarm(user.toLatin1().constData()).isEmpty());
        QCOMPARE(geteuid(), uid_t(0)); // still root: nothing was given up half-way
    }
};

QTEST_GUILESS_MAIN(tst_privilegeDrop)
#include "tst_privilegedrop.moc"
