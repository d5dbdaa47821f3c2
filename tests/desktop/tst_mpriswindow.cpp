// The main window's own service on the session bus (run under
// dbus-run-session): a client's commands reach the window, by the MPRIS
// rules of each state, and end a ringing alarm.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "app/mainwindow.h"
#include "desktop/mprisservice.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/boxcounter.h"
#include "support/modalanswerer.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString service = QStringLiteral("org.mpris.MediaPlayer2.vurn");
const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

// Collects what the bus tells a client.
class BusListener : public QObject
{
    Q_OBJECT
public:
    QVariantMap changed; // the latest value of every property announced
    int announcements = 0;
    QList<qlonglong> seeked;

public Q_SLOTS:
    void propertiesChanged(const QString &interface, const QVariantMap &values, const QStringList &)
    {
        if (interface != playerInterface)
            return;
        ++announcements;
        for (auto it = values.begin(); it != values.end(); ++it)
            changed.insert(it.key(), it.value());
    }
    void onSeeked(qlonglong position) { seeked << position; }
};

class tst_MprisWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void mainWindowCarriesOutCommands();
    void pauseByMprisRules();
    void loopAndShuffleFromTheBus();
    void nothingToPlayOpensNoBox_data();
    void nothingToPlayOpensNoBox();
    void stopOrPauseEndsRinging_data();
    void stopOrPauseEndsRinging();

private:
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &args = {});
    QVariant property(const QString &interface, const QString &name);
    // A main window with its own service on the session bus, in a state
    // folder of its own, for the length of `body`.
    void withWindow(const std::function<void(MainWindow &)> &body);

    QDBusConnection client = QDBusConnection(QString());
    std::unique_ptr<AudioFixtures> fixtures;
    QStringList audio;
    vurnCore *core = nullptr;
    mprisService *mpris = nullptr;
    BusListener listener;
};

void tst_MprisWindow::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    QVERIFY(client.isConnected());
    QVERIFY(client.connect(QString(), path, QStringLiteral("org.freedesktop.DBus.Properties"),
                           QStringLiteral("PropertiesChanged"), &listener,
                           SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    QVERIFY(client.connect(QString(), path, playerInterface, QStringLiteral("Seeked"), &listener,
                           SLOT(onSeeked(qlonglong))));
    fixtures = std::make_unique<AudioFixtures>();
    TrackTags tags;
    tags.title = QStringLiteral("朝の歌");
    tags.artist = QStringLiteral("歌手");
    tags.album = QStringLiteral("アルバム");
    audio << fixtures->make(QStringLiteral("one.flac"), 8000, tags) << fixtures->make(QStringLiteral("two.wav"), 8000);
    QVERIFY(!audio.contains(QString()));
}

void tst_MprisWindow::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

void tst_MprisWindow::init()
{
    listener.changed.clear();
    listener.announcements = 0;
    listener.seeked.clear();
    core = new vurnCore();
    QVERIFY(core->addFiles(audio));
    mpris = new mprisService(QDBusConnection::sessionBus(), core);
    QVERIFY(mpris->isRegistered());
    QCOMPARE(mpris->serviceName(), service);
}

void tst_MprisWindow::cleanup()
{
    delete mpris;
    mpris = nullptr;
    delete core;
    core = nullptr;
}

QDBusMessage tst_MprisWindow::call(const QString &interface, const QString &method, const QVariantList &args)
{
    // Asynchronous: the service answers from this very thread's event loop.
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(args);
    QDBusPendingCall pending = client.asyncCall(message);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 5000))
        qWarning("no answer to %s", qPrintable(method));
    return pending.reply();
}

QVariant tst_MprisWindow::property(const QString &interface, const QString &name)
{
    const QDBusMessage reply = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                    {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QVariant();
    return reply.arguments().at(0).value<QDBusVariant>().variant();
}

void tst_MprisWindow::withWindow(const std::function<void(MainWindow &)> &body)
{
    cleanup();
    QTemporaryDir state;
    vurnSettings::setStateDirectoryOverride(state.path());
    {
        MainWindow window;
        window.show();
        if (QTest::qWaitForWindowExposed(&window) && window.mpris)
            body(window);
        else
            QFAIL("no window with its service");
        window.quitForReal();
    }
    vurnSettings::setStateDirectoryOverride(QString());
    init();
}

void tst_MprisWindow::mainWindowCarriesOutCommands()
{
    // The window registers its own service on the session bus.
    cleanup();
    QTemporaryDir state;
    vurnSettings::setStateDirectoryOverride(state.path());
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.mpris);

        window.addPaths(audio);
        QTRY_COMPARE(window.core->tracks().size(), 2);
        call(playerInterface, QStringLiteral("Play"));
        QTRY_VERIFY(window.core->isPlaying());
        call(playerInterface, QStringLiteral("Next"));
        QTRY_COMPARE(window.core->currentIndex, 1);
        call(playerInterface, QStringLiteral("Previous"));
        QTRY_COMPARE(window.core->currentIndex, 0);
        call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
             {playerInterface, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.25))});
        QTRY_COMPARE(window.volumePercent(), 25);
        // Pause acts on a playing track only: wait until it plays (a slow
        // machine may still be starting the track Previous chose).
        QTRY_VERIFY_WITH_TIMEOUT(window.core->isPlaying(), 8000);
        call(playerInterface, QStringLiteral("Pause"));
        QTRY_VERIFY(window.core->isPaused());
        QVERIFY(!window.core->isPlaying());

        // OpenUri adds the file and plays it at once.
        call(playerInterface, QStringLiteral("OpenUri"), {QUrl::fromLocalFile(audio.at(0)).toString()});
        QTRY_COMPARE(window.core->tracks().size(), 3);
        QTRY_COMPARE(window.core->currentIndex, 2);
        QTRY_VERIFY_WITH_TIMEOUT(window.core->isPlaying(), 8000);
        window.quitForReal();
    }
    vurnSettings::setStateDirectoryOverride(QString());
    init();
}

// The MPRIS table of commands by state: Pause only pauses a playing track,
// Play resumes or starts and does nothing while playing, PlayPause toggles,
// Stop stops; Position and Seek work while paused.
void tst_MprisWindow::pauseByMprisRules()
{
    withWindow([this](MainWindow &window) {
        window.addPaths(audio);
        QTRY_COMPARE(window.core->tracks().size(), 2);
        const auto status = [this] { return property(playerInterface, QStringLiteral("PlaybackStatus")).toString(); };

        // Stopped: Pause does nothing; PlayPause starts.
        call(playerInterface, QStringLiteral("Pause"));
        QTest::qWait(300);
        QCOMPARE(status(), QStringLiteral("Stopped"));
        QCOMPARE(property(playerInterface, QStringLiteral("CanPause")).toBool(), true);
        call(playerInterface, QStringLiteral("PlayPause"));
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Playing"), 8000);
        QTRY_VERIFY_WITH_TIMEOUT(window.core->positionMsec() > 1500, 8000);

        // Playing: Play does nothing (the track is not restarted); Pause pauses.
        call(playerInterface, QStringLiteral("Play"));
        QTest::qWait(300);
        QVERIFY(window.core->positionMsec() > 1500);
        call(playerInterface, QStringLiteral("Pause"));
        QTRY_COMPARE(status(), QStringLiteral("Paused"));
        QTRY_COMPARE(listener.changed.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
        const qlonglong held = property(playerInterface, QStringLiteral("Position")).toLongLong();
        QVERIFY(held > 1500000);
        QTest::qWait(500);
        QCOMPARE(property(playerInterface, QStringLiteral("Position")).toLongLong(), held);
        QCOMPARE(property(playerInterface, QStringLiteral("CanSeek")).toBool(), true);
        QVERIFY(window.actionPause->isChecked());

        // Paused: Seek moves the place; Play resumes from it.
        call(playerInterface, QStringLiteral("Seek"), {qlonglong(2000000)});
        QTRY_COMPARE(property(playerInterface, QStringLiteral("Position")).toLongLong(), held + 2000000);
        QCOMPARE(status(), QStringLiteral("Paused"));
        call(playerInterface, QStringLiteral("Play"));
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Playing"), 8000);
        QVERIFY(window.core->positionMsec() >= held / 1000 + 1900);

        // PlayPause pauses and resumes; Stop from paused stops.
        call(playerInterface, QStringLiteral("PlayPause"));
        QTRY_COMPARE(status(), QStringLiteral("Paused"));
        call(playerInterface, QStringLiteral("PlayPause"));
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Playing"), 8000);
        call(playerInterface, QStringLiteral("Pause"));
        QTRY_COMPARE(status(), QStringLiteral("Paused"));
        call(playerInterface, QStringLiteral("Stop"));
        QTRY_COMPARE(status(), QStringLiteral("Stopped"));
        QVERIFY(!window.core->isPaused());
        QCOMPARE(property(playerInterface, QStringLiteral("Position")).toLongLong(), 0);
    });
}

// playerctl loop / shuffle: the window's mode follows and the change is announced.
void tst_MprisWindow::loopAndShuffleFromTheBus()
{
    withWindow([this](MainWindow &window) {
        const auto set = [this](const char *name, const QVariant &value) {
            call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
                 {playerInterface, QLatin1String(name), QVariant::fromValue(QDBusVariant(value))});
        };
        QCOMPARE(property(playerInterface, QStringLiteral("LoopStatus")).toString(), QStringLiteral("Playlist"));
        set("LoopStatus", QStringLiteral("Track"));
        QTRY_COMPARE(window.currentModeText(), QStringLiteral("1曲リピート"));
        QTRY_COMPARE(listener.changed.value(QStringLiteral("LoopStatus")).toString(), QStringLiteral("Track"));
        set("Shuffle", true);
        QTRY_COMPARE(window.currentModeText(), QStringLiteral("シャッフル"));
        QTRY_COMPARE(listener.changed.value(QStringLiteral("Shuffle")).toBool(), true);
        QCOMPARE(listener.changed.value(QStringLiteral("LoopStatus")).toString(), QStringLiteral("Playlist"));
        // A change in the window is announced too.
        window.applyModeByName(QStringLiteral("リピートなし"));
        QTRY_COMPARE(listener.changed.value(QStringLiteral("Shuffle")).toBool(), false);
        QCOMPARE(listener.changed.value(QStringLiteral("LoopStatus")).toString(), QStringLiteral("None"));
        set("LoopStatus", QStringLiteral("Sometimes"));
        QTest::qWait(200);
        QCOMPARE(window.currentModeText(), QStringLiteral("リピートなし"));
    });
}

void tst_MprisWindow::nothingToPlayOpensNoBox_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<int>("calls");
    for (const char *method : {"Next", "Previous", "Play", "PlayPause"}) {
        QTest::newRow(method) << QString::fromLatin1(method) << 1;
        // A media key held down, a widget clicked again and again.
        QTest::newRow(qPrintable(QStringLiteral("%1, held").arg(QLatin1String(method)))) << QString::fromLatin1(method)
                                                                                          << 200;
    }
}

// CanGoNext, CanGoPrevious and CanPlay are false: the calls have no effect,
// and above all open no box that waits for the user.
void tst_MprisWindow::nothingToPlayOpensNoBox()
{
    QFETCH(QString, method);
    QFETCH(int, calls);
    withWindow([&](MainWindow &window) {
        QCOMPARE(property(playerInterface, QStringLiteral("CanPlay")).toBool(), false);
        ModalAnswerer answerer(QMessageBox::Ok, 3000);
        answerer.keepAnswering = true;
        answerer.arm();
        BoxCounter boxes;
        QList<QDBusPendingCall> pending;
        for (int i = 0; i < calls; ++i)
            pending << client.asyncCall(QDBusMessage::createMethodCall(service, path, playerInterface, method));
        QCOMPARE(window.mpris->serviceName(), service);
        QVERIFY(QTest::qWaitFor([&] { return pending.last().isFinished(); }, 20000));
        QCOMPARE(pending.last().reply().type(), QDBusMessage::ReplyMessage);
        QTest::qWait(1000);
        QCOMPARE(answerer.count, 0);
        QCOMPARE(boxes.shown, 0);
        QVERIFY(!window.core->isPlaying());
        // The player still answers the bus.
        QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    });
}

void tst_MprisWindow::stopOrPauseEndsRinging_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<bool>("withMusic");
    QTest::newRow("Stop, music") << "Stop" << true;
    QTest::newRow("Pause, music") << "Pause" << true;
    QTest::newRow("Stop, the built-in tone") << "Stop" << false;
    QTest::newRow("Pause, the built-in tone") << "Pause" << false;
}

// Lock screens show media controls: their stop or pause ends a ringing alarm
// as "停止" does, also when only the built-in tone sounds.
void tst_MprisWindow::stopOrPauseEndsRinging()
{
    QFETCH(QString, method);
    QFETCH(bool, withMusic);
    cleanup();
    QTemporaryDir state;
    vurnSettings::setStateDirectoryOverride(state.path());
    QDateTime clock(QDate(2024, 1, 1), QTime(6, 59, 59)); // a Monday
    alarmClock::setSource([&clock] { return clock; });
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.mpris);
        window.ringer->toneDelayMsec = 300;
        if (withMusic) {
            window.addPaths(audio);
            QTRY_COMPARE(window.core->tracks().size(), 2);
        }
        AlarmSetup alarm;
        alarm.time = QStringLiteral("07:00");
        alarm.days = QStringLiteral("0");
        alarm.mode = QStringLiteral("リピートなし");
        window.setWin->setAlarmList(makeAlarmList(&window, {alarm}));
        window.setWin->setAlarmEnabled(true);
        window.checkAlarms();
        clock = clock.addSecs(1);
        ModalAnswerer answerer(QMessageBox::Ok); // an empty playlist warns before the tone takes over
        answerer.arm();
        window.checkAlarms();
        QVERIFY(window.ringer->isRinging());
        if (withMusic)
            QTRY_VERIFY(window.core->isPlaying());
        else
            QTRY_VERIFY(window.ringer->isToneSounding());

        QCOMPARE(call(playerInterface, method).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(!window.ringer->isRinging());
        QVERIFY(!window.ringer->isToneSounding());
        QTRY_VERIFY(!window.core->isPlaying());
        window.quitForReal();
    }
    alarmClock::setSource({});
    vurnSettings::setStateDirectoryOverride(QString());
    init();
}

QTEST_MAIN(tst_MprisWindow)
#include "tst_mpriswindow.moc"
