// The ringing notification against a stand-in notification service
// (python3-dbusmock's notification_daemon) on the test's own session bus.
#include "desktop/ringnotification.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDBusArgument>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {
const char service[] = "org.freedesktop.Notifications";
const char path[] = "/org/freedesktop/Notifications";
} // namespace

class tst_ringNotification : public QObject
{
    Q_OBJECT
private:
    QProcess mock;

    QDBusInterface control()
    {
        return QDBusInterface(QLatin1String(service), QLatin1String(path), QStringLiteral("org.freedesktop.DBus.Mock"),
                              QDBusConnection::sessionBus());
    }
    struct Call
    {
        QString method;
        QVariantList args;
    };
    // The methods the service was called with, in order.
    QList<Call> calls()
    {
        QDBusMessage reply = control().call(QStringLiteral("GetCalls"));
        QList<Call> made;
        if (reply.type() != QDBusMessage::ReplyMessage)
            return made;
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            quint64 time = 0;
            Call call;
            list.beginStructure();
            list >> time >> call.method >> call.args;
            list.endStructure();
            made << call;
        }
        list.endArray();
        return made;
    }
    void emitSignal(const QString &name, const QString &signature, const QVariantList &args)
    {
        QDBusMessage reply = control().call(QStringLiteral("EmitSignal"), QLatin1String(service), name, signature, args);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        // The system interpreter: the one the Debian package installs the module for.
        mock.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"),
                                               QStringLiteral("notification_daemon")});
        QVERIFY(mock.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered(QLatin1String(service)), 15000);
    }
    void cleanupTestCase()
    {
        mock.terminate();
        mock.waitForFinished(5000);
    }
    void init()
    {
        control().call(QStringLiteral("ClearCalls"));
    }

    void actionsReachThePlayer_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("stops");
        QTest::addColumn<int>("snoozes");
        QTest::newRow("停止") << "stop" << 1 << 0;
        QTest::newRow("スヌーズ") << "snooze" << 0 << 1;
        QTest::newRow("the notification's own click") << "default" << 0 << 0;
    }
    void actionsReachThePlayer()
    {
        QFETCH(QString, action);
        QFETCH(int, stops);
        QFETCH(int, snoozes);
        ringNotification notification(QDBusConnection::sessionBus());
        QSignalSpy stop(&notification, &ringNotification::stopRequested);
        QSignalSpy snooze(&notification, &ringNotification::snoozeRequested);
        notification.show(QStringLiteral("アラーム 07:00"), QStringLiteral("朝"));
        QTRY_VERIFY(notification.isShown());
        const QList<Call> made = calls();
        QCOMPARE(made.size(), 1);
        QCOMPARE(made[0].method, QStringLiteral("Notify"));
        const QVariantList &args = made[0].args;
        QCOMPARE(args.value(3).toString(), QStringLiteral("アラーム 07:00"));
        QCOMPARE(args.value(5).toStringList(),
                 (QStringList{QStringLiteral("stop"), QStringLiteral("停止"), QStringLiteral("snooze"),
                              QStringLiteral("スヌーズ")}));
        QVariantMap hints;
        args.value(6).value<QDBusArgument>() >> hints;
        QCOMPARE(hints.value(QStringLiteral("urgency")).toInt(), 2); // critical: it stays
        QCOMPARE(args.value(7).toInt(), 0);                           // never expires

        // The same action on another program's notification is not ours.
        emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                   {QVariant::fromValue(notification.shownId() + 100), action});
        emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                   {QVariant::fromValue(notification.shownId()), action});
        QTRY_COMPARE(stop.size() + snooze.size(), stops + snoozes);
        QTest::qWait(100);
        QCOMPARE(stop.size(), stops);
        QCOMPARE(snooze.size(), snoozes);

        // Withdrawn when the ringing ends.
        notification.withdraw();
        QVERIFY(!notification.isShown());
        QTRY_COMPARE(calls().size(), 2);
        QCOMPARE(calls().at(1).method, QStringLiteral("CloseNotification"));
    }

    // Ended before the service answered: the notification still goes.
    void withdrawnBeforeTheAnswer()
    {
        ringNotification notification(QDBusConnection::sessionBus());
        notification.show(QStringLiteral("アラーム 07:00"), QString());
        notification.withdraw();
        QTRY_COMPARE(calls().size(), 2);
        QCOMPARE(calls().at(1).method, QStringLiteral("CloseNotification"));
        QVERIFY(!notification.isShown());
    }

    // No service on the bus: nothing is shown and nothing fails or waits.
    void withoutAService()
    {
        ringNotification notification(QDBusConnection(QStringLiteral("none")));
        notification.show(QStringLiteral("アラーム"), QString());
        QVERIFY(!notification.isShown());
        notification.withdraw();
    }
};

QTEST_GUILESS_MAIN(tst_ringNotification)
#include "tst_ringnotification.moc"
