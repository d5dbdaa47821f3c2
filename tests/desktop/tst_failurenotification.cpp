// Files that commands from the desktop could not open, told in one
// notification per burst: the class against a stand-in notification service
// (python3-dbusmock's notification_daemon) on the test's own session bus, and
// the main window's OpenUri and second start, which open no box.
#include "desktop/failurenotification.h"

#include "app/mainwindow.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/boxcounter.h"
#include "support/modalanswerer.h"
#include "support/statedir.h"

#include <QAction>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {
const char service[] = "org.freedesktop.Notifications";
const char path[] = "/org/freedesktop/Notifications";

loadReport missingFile(int number)
{
    loadReport report;
    report.add(QStringLiteral("/music/gone-%1.mp3").arg(number), QStringLiteral("ファイルが見つかりません。"));
    return report;
}
} // namespace

class tst_failureNotification : public QObject
{
    Q_OBJECT
private:
    QProcess mock;
    std::unique_ptr<AudioFixtures> fixtures;
    QString playable;

    QDBusInterface control()
    {
        return QDBusInterface(QLatin1String(service), QLatin1String(path), QStringLiteral("org.freedesktop.DBus.Mock"),
                              QDBusConnection::sessionBus());
    }
    // The Notify calls the service had, each with its arguments.
    QList<QVariantList> notified()
    {
        QList<QVariantList> made;
        const QDBusMessage reply = control().call(QStringLiteral("GetCalls"));
        if (reply.type() != QDBusMessage::ReplyMessage)
            return made;
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            quint64 time = 0;
            QString method;
            QVariantList args;
            list.beginStructure();
            list >> time >> method >> args;
            list.endStructure();
            if (method == QLatin1String("Notify"))
                made << args;
        }
        list.endArray();
        return made;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        mock.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                                        QStringLiteral("--template"),
                                                        QStringLiteral("notification_daemon")});
        QVERIFY(mock.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered(QLatin1String(service)), 15000);
        fixtures = std::make_unique<AudioFixtures>();
        playable = fixtures->make(QStringLiteral("morning.wav"), 3000);
        QVERIFY(!playable.isEmpty());
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

    void aBurstIsToldOnce_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("gapMsec");
        QTest::addColumn<int>("quietMsec");
        QTest::addColumn<int>("notifications");
        QTest::newRow("one file") << 1 << 0 << 300 << 1;
        QTest::newRow("ten calls at once") << 10 << 0 << 300 << 1;
        QTest::newRow("ten calls, each soon after the last") << 10 << 100 << 2000 << 1;
        QTest::newRow("three calls far apart") << 3 << 1200 << 300 << 3;
    }
    void aBurstIsToldOnce()
    {
        QFETCH(int, failures);
        QFETCH(int, gapMsec);
        QFETCH(int, quietMsec);
        QFETCH(int, notifications);
        failureNotification notice(QDBusConnection::sessionBus());
        notice.quietMsec = quietMsec;
        notice.longestMsec = 60000;
        QSignalSpy unheard(&notice, &failureNotification::unheard);
        for (int i = 0; i < failures; ++i) {
            notice.gather(missingFile(i));
            if (gapMsec > 0)
                QTest::qWait(gapMsec);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!notice.isGathering(), quietMsec + 10000);
        QTRY_COMPARE_WITH_TIMEOUT(notified().size(), notifications, 10000);
        QTest::qWait(quietMsec + 300);
        const QList<QVariantList> made = notified();
        QCOMPARE(made.size(), notifications);
        QCOMPARE(unheard.size(), 0);
        const QVariantList &last = made.last();
        QCOMPARE(last.value(3).toString(), QStringLiteral("ファイル読み込みエラー"));
        const QString body = last.value(4).toString();
        QVERIFY2(body.contains(QStringLiteral("/music/gone-%1.mp3").arg(failures - 1)), qPrintable(body));
        if (failures / notifications > 1)
            QVERIFY2(body.contains(QString::number(failures / notifications)), qPrintable(body));
        // A later burst takes the place of the earlier notification.
        if (notifications > 1)
            QVERIFY(last.value(1).toUInt() != 0);
    }

    // A key held down: the person hears of it while the calls still come.
    void aLongBurstIsToldWhileItGoesOn()
    {
        failureNotification notice(QDBusConnection::sessionBus());
        notice.quietMsec = 2000;
        notice.longestMsec = 800;
        QElapsedTimer calls;
        calls.start();
        int sent = 0;
        while (calls.elapsed() < 4000 && notified().isEmpty()) {
            notice.gather(missingFile(sent++));
            QTest::qWait(100);
        }
        QVERIFY2(!notified().isEmpty(), "told only after the calls ended");
    }

    void withoutAServiceTheWordsGoElsewhere()
    {
        failureNotification notice(QDBusConnection(QStringLiteral("none")));
        notice.quietMsec = 100;
        QSignalSpy unheard(&notice, &failureNotification::unheard);
        notice.gather(missingFile(1));
        notice.gather(missingFile(2));
        QTRY_COMPARE(unheard.size(), 1);
        QCOMPARE(unheard.at(0).at(0).toString(), QStringLiteral("ファイル読み込みエラー"));
        QVERIFY(unheard.at(0).at(1).toString().contains(QStringLiteral("/music/gone-2.mp3")));
        QTest::qWait(300);
        QCOMPARE(unheard.size(), 1);
    }

    // What the desktop asks to open and cannot be: no box, one notification.
    void desktopCommandsOpenNoBox_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("calls");
        QTest::addColumn<int>("added");
        QTest::newRow("OpenUri, missing files") << "OpenUri" << "missing" << 10 << 0;
        QTest::newRow("OpenUri, files that are not audio") << "OpenUri" << "broken" << 10 << 0;
        QTest::newRow("another start, a missing file beside a good one") << "second start" << "missing" << 1 << 1;
        QTest::newRow("another start, a playlist of missing files") << "second start" << "playlist" << 1 << 0;
        QTest::newRow("another start, three times") << "second start" << "missing" << 3 << 3;
    }
    void desktopCommandsOpenNoBox()
    {
        QFETCH(QString, kind);
        QFETCH(QString, failing);
        QFETCH(int, calls);
        QFETCH(int, added);
        StateDir state;
        AudioFixtures scratch;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.mpris);
        window.desktopFailures->quietMsec = 1000;
        QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
        ModalAnswerer answerer(QMessageBox::Ok, 6000);
        answerer.keepAnswering = true;
        answerer.arm();
        BoxCounter boxes;
        for (int i = 0; i < calls; ++i) {
            QString bad = scratch.path(QStringLiteral("gone-%1.mp3").arg(i));
            if (failing == QLatin1String("broken"))
                bad = scratch.makeBroken(QStringLiteral("noise-%1.mp3").arg(i));
            if (failing == QLatin1String("playlist")) {
                bad = scratch.path(QStringLiteral("list.m3u"));
                QFile list(bad);
                QVERIFY(list.open(QIODevice::WriteOnly));
                list.write(QFile::encodeName(scratch.path(QStringLiteral("a.mp3")) + QLatin1Char('\n')
                                             + scratch.path(QStringLiteral("b.mp3")) + QLatin1Char('\n')));
            }
            if (kind == QLatin1String("OpenUri")) {
                QDBusMessage call = QDBusMessage::createMethodCall(
                    QStringLiteral("org.mpris.MediaPlayer2.vurn"), QStringLiteral("/org/mpris/MediaPlayer2"),
                    QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("OpenUri"));
                call << QUrl::fromLocalFile(bad).toString();
                client.asyncCall(call);
            } else {
                // As the hand-over from another start reaches the window.
                window.bringToFront();
                window.addPathsFromDesktop(failing == QLatin1String("playlist") ? QStringList{bad}
                                                                                : QStringList{bad, playable});
            }
        }
        QTRY_COMPARE_WITH_TIMEOUT(notified().size(), 1, 15000);
        QTest::qWait(1500);
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QCOMPARE(boxes.shown, 0);
        QCOMPARE(answerer.count, 0);
        QCOMPARE(notified().size(), 1);
        const QString body = notified().at(0).value(4).toString();
        QVERIFY2(body.contains(QFileInfo(scratch.dir()).fileName()), qPrintable(body));
        QCOMPARE(window.core->tracks().size(), added);
        window.quitForReal();
    }
    // A track whose file was spoiled after it was added: Next from the desktop
    // says so in the notification, the window's own Next in its box.
    void spoiledTrackFromTheDesktopOpensNoBox()
    {
        StateDir state;
        AudioFixtures scratch;
        // Played in this order: a good track between the spoiled ones, which
        // the failed one moves on to by itself.
        QStringList tracks;
        for (const char *name : {"a.flac", "b.flac", "c.flac", "d.flac"}) {
            tracks << scratch.make(QLatin1String(name), 3000);
            QVERIFY(!tracks.last().isEmpty());
        }
        const QStringList spoiled{tracks.at(1), tracks.at(3)};
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.mpris);
        window.desktopFailures->quietMsec = 1000;
        window.core->addFiles(tracks);
        window.applyModeByName(QStringLiteral("全曲リピート(>>)"));
        for (const QString &file : spoiled) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(QByteArray(4096, 'x'));
        }
        QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
        BoxCounter boxes;
        client.asyncCall(QDBusMessage::createMethodCall(QStringLiteral("org.mpris.MediaPlayer2.vurn"),
                                                        QStringLiteral("/org/mpris/MediaPlayer2"),
                                                        QStringLiteral("org.mpris.MediaPlayer2.Player"),
                                                        QStringLiteral("Next")));
        QTRY_COMPARE_WITH_TIMEOUT(notified().size(), 1, 15000);
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QCOMPARE(boxes.shown, 0);
        window.findChild<QAction *>(QStringLiteral("actionNext"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(boxes.shown, 1, 10000);
        QCOMPARE(notified().size(), 1);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(top))
                box->close();
        }
        window.quitForReal();
    }
};

QTEST_MAIN(tst_failureNotification)
#include "tst_failurenotification.moc"
