// One player per state folder: a later start hands its paths to the running
// one; leftovers of a killed instance and broken messages do not get in the way.
#include "desktop/instanceguard.h"

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class tst_InstanceGuard : public QObject
{
    Q_OBJECT

private slots:
    void init() { runtime = std::make_unique<QTemporaryDir>(); }
    void secondStartHandsOver();
    void separateStateFoldersRunSideBySide();
    void leftoversOfAKilledInstance();
    void brokenMessages_data();
    void brokenMessages();
    void nobodyAnswering();

private:
    // Hands over from another thread while this one serves the first instance.
    bool handOverFromAnotherStart(const QString &key, const QStringList &paths);

    std::unique_ptr<QTemporaryDir> runtime;
};

bool tst_InstanceGuard::handOverFromAnotherStart(const QString &key, const QStringList &paths)
{
    const QString dir = runtime->path();
    auto done = std::async(std::launch::async, [key, dir, paths] {
        instanceGuard later(key, dir);
        return !later.claim() && later.handOver(paths);
    });
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return done.get();
}

void tst_InstanceGuard::secondStartHandsOver()
{
    instanceGuard first(QStringLiteral("/home/a/.config/Vurn"), runtime->path());
    QVERIFY(first.claim());
    QSignalSpy asked(&first, &instanceGuard::activationRequested);
    const QStringList paths = {QStringLiteral("/music/朝の曲.mp3"), QStringLiteral("/music/with\nnewline"),
                               QStringLiteral("/music/folder")};
    QVERIFY(handOverFromAnotherStart(QStringLiteral("/home/a/.config/Vurn"), paths));
    QTRY_COMPARE(asked.count(), 1);
    QCOMPARE(asked.at(0).at(0).toStringList(), paths);

    // A bare start asks to be shown, with nothing to add.
    QVERIFY(handOverFromAnotherStart(QStringLiteral("/home/a/.config/Vurn"), {}));
    QTRY_COMPARE(asked.count(), 2);
    QCOMPARE(asked.at(1).at(0).toStringList(), QStringList());
}

void tst_InstanceGuard::separateStateFoldersRunSideBySide()
{
    instanceGuard one(QStringLiteral("/opt/vurn-a"), runtime->path());
    instanceGuard other(QStringLiteral("/opt/vurn-b"), runtime->path());
    QVERIFY(one.claim());
    QVERIFY(other.claim());
    QVERIFY(one.socketPath() != other.socketPath());
}

void tst_InstanceGuard::leftoversOfAKilledInstance()
{
    const QString key = QStringLiteral("/home/a/.config/Vurn");
    QString socketPath;
    QString lockPath;
    {
        instanceGuard probe(key, runtime->path());
        socketPath = probe.socketPath();
        lockPath = probe.lockPath();
    }
    // The lock of a process that is gone.
    QProcess gone;
    gone.start(QStringLiteral("true"), QStringList());
    QVERIFY(gone.waitForFinished());
    const qint64 deadPid = gone.processId() > 0 ? gone.processId() : 999999;
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nvurn\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    // Its socket file: bound, never unlinked, nobody listening.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof(address.sun_path));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd);
    QVERIFY(QFile::exists(socketPath));

    instanceGuard next(key, runtime->path());
    QVERIFY(next.claim());
    QSignalSpy asked(&next, &instanceGuard::activationRequested);
    QVERIFY(handOverFromAnotherStart(key, {QStringLiteral("/x.mp3")}));
    QTRY_COMPARE(asked.count(), 1);
}

void tst_InstanceGuard::brokenMessages_data()
{
    QTest::addColumn<QByteArray>("message");
    const QByteArray whole = instanceGuard::encode({QStringLiteral("/a.mp3")});
    QTest::newRow("half a header") << whole.left(5);
    QTest::newRow("half a body") << whole.left(whole.size() - 3);
    QTest::newRow("not ours") << QByteArray("GET / HTTP/1.0\r\n\r\n");
    QByteArray huge = whole.left(8);
    huge += QByteArray::fromHex("7fffffff");
    QTest::newRow("absurd size") << huge;
    QByteArray unterminated = whole;
    unterminated.chop(1);
    unterminated[11] = char(unterminated.at(11) - 1);
    QTest::newRow("path without its end") << unterminated;
}

void tst_InstanceGuard::brokenMessages()
{
    QFETCH(QByteArray, message);
    const QString key = QStringLiteral("/home/a/.config/Vurn");
    instanceGuard first(key, runtime->path());
    QVERIFY(first.claim());
    QSignalSpy asked(&first, &instanceGuard::activationRequested);
    {
        QLocalSocket broken;
        broken.connectToServer(first.socketPath());
        QVERIFY(broken.waitForConnected(1000));
        broken.write(message);
        QVERIFY(broken.waitForBytesWritten(1000));
        QTest::qWait(100);
        // The peer goes away half-way, as a killed start would.
    }
    QTest::qWait(100);
    QCOMPARE(asked.count(), 0);
    // The running instance still takes the next start.
    QVERIFY(handOverFromAnotherStart(key, {QStringLiteral("/b.mp3")}));
    QTRY_COMPARE(asked.count(), 1);
    QCOMPARE(asked.at(0).at(0).toStringList(), QStringList{QStringLiteral("/b.mp3")});
}

void tst_InstanceGuard::nobodyAnswering()
{
    // The lock is held by a live process that does not listen (hung, say):
    // the later start gives up instead of running a second player.
    const QString key = QStringLiteral("/home/a/.config/Vurn");
    instanceGuard probe(key, runtime->path());
    QLockFile held(probe.lockPath());
    QVERIFY(held.tryLock(0));
    instanceGuard later(key, runtime->path());
    QVERIFY(!later.claim());
    QVERIFY(!later.handOver({QStringLiteral("/a.mp3")}, 600));
}

QTEST_MAIN(tst_InstanceGuard)
#include "tst_instanceguard.moc"
