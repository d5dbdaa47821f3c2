// The player on the session bus (run under dbus-run-session): a client on its
// own connection reads the properties, hears every change, and its commands
// become the controller's requests. The main window carrying them out is
// tst_mpriswindow.
#include "desktop/mprisservice.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>

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

class tst_MprisService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void rootIdentity();
    void playerFollowsTheController();
    void metadataFollowsTheTrackHeard();
    void commandsBecomeRequests_data();
    void commandsBecomeRequests();
    void seeking();
    void withoutABus();
    void playModesAsLoopAndShuffle_data();
    void playModesAsLoopAndShuffle();

private:
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &args = {});
    QVariant property(const QString &interface, const QString &name);

    QDBusConnection client = QDBusConnection(QString());
    std::unique_ptr<AudioFixtures> fixtures;
    QStringList audio;
    vurnCore *core = nullptr;
    mprisService *mpris = nullptr;
    BusListener listener;
};

void tst_MprisService::initTestCase()
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

void tst_MprisService::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
}

void tst_MprisService::init()
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

void tst_MprisService::cleanup()
{
    delete mpris;
    mpris = nullptr;
    delete core;
    core = nullptr;
}

QDBusMessage tst_MprisService::call(const QString &interface, const QString &method, const QVariantList &args)
{
    // Asynchronous: the service answers from this very thread's event loop.
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(args);
    QDBusPendingCall pending = client.asyncCall(message);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 5000))
        qWarning("no answer to %s", qPrintable(method));
    return pending.reply();
}

QVariant tst_MprisService::property(const QString &interface, const QString &name)
{
    const QDBusMessage reply = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                    {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QVariant();
    return reply.arguments().at(0).value<QDBusVariant>().variant();
}

void tst_MprisService::rootIdentity()
{
    const QString root = QStringLiteral("org.mpris.MediaPlayer2");
    QCOMPARE(property(root, QStringLiteral("Identity")).toString(), QStringLiteral("Vurn"));
    QCOMPARE(property(root, QStringLiteral("DesktopEntry")).toString(), QStringLiteral("org.vurn.vurn"));
    QCOMPARE(property(root, QStringLiteral("CanRaise")).toBool(), true);
    QCOMPARE(property(root, QStringLiteral("CanQuit")).toBool(), true);
    QCOMPARE(property(root, QStringLiteral("HasTrackList")).toBool(), false);
}

void tst_MprisService::playerFollowsTheController()
{
    QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    QCOMPARE(property(playerInterface, QStringLiteral("CanPlay")).toBool(), true);
    QCOMPARE(property(playerInterface, QStringLiteral("CanSeek")).toBool(), false);
    QCOMPARE(property(playerInterface, QStringLiteral("CanControl")).toBool(), true);

    QVERIFY(core->playTrack(0, false));
    QTRY_COMPARE(listener.changed.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
    QTRY_COMPARE(listener.changed.value(QStringLiteral("CanSeek")).toBool(), true);
    QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));

    const QDBusArgument argument = property(playerInterface, QStringLiteral("Metadata")).value<QDBusArgument>();
    QVariantMap metadata;
    argument >> metadata;
    QCOMPARE(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
             QStringLiteral("/org/vurn/vurn/track/0"));
    QCOMPARE(metadata.value(QStringLiteral("mpris:length")).toLongLong(), qlonglong(core->currentLength()) * 1000);
    QVERIFY(metadata.value(QStringLiteral("mpris:length")).toLongLong() > 7000000);
    QCOMPARE(metadata.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("朝の歌"));
    QCOMPARE(metadata.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{QStringLiteral("歌手")});
    QCOMPARE(metadata.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("アルバム"));
    QCOMPARE(metadata.value(QStringLiteral("xesam:url")).toString(), QUrl::fromLocalFile(audio.at(0)).toString());
    QTRY_VERIFY(property(playerInterface, QStringLiteral("Position")).toLongLong() > 0);

    // Another track: new metadata is announced.
    QVERIFY(core->playTrack(1, false));
    QTRY_COMPARE(listener.changed.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
    QTRY_VERIFY(listener.changed.contains(QStringLiteral("Metadata")));
    QDBusArgument announced = listener.changed.value(QStringLiteral("Metadata")).value<QDBusArgument>();
    QVariantMap second;
    announced >> second;
    QCOMPARE(second.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
             QStringLiteral("/org/vurn/vurn/track/1"));

    // Volume, and the playlist emptying.
    core->setVolumePercent(40, nullptr, nullptr);
    mpris->refresh();
    QTRY_COMPARE(listener.changed.value(QStringLiteral("Volume")).toDouble(), 0.4);
    core->stopPlayback(nullptr);
    core->clearTracks();
    mpris->refresh();
    QTRY_COMPARE(listener.changed.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    QTRY_COMPARE(listener.changed.value(QStringLiteral("CanGoNext")).toBool(), false);
    QCOMPARE(listener.changed.value(QStringLiteral("CanPlay")).toBool(), false);

    // Nothing changed: nothing is announced.
    QTest::qWait(200);
    const int before = listener.announcements;
    mpris->refresh();
    QTest::qWait(200);
    QCOMPARE(listener.announcements, before);
}

void tst_MprisService::metadataFollowsTheTrackHeard()
{
    const auto trackId = [](const QVariant &value) {
        QVariantMap metadata;
        value.value<QDBusArgument>() >> metadata;
        return metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
    };
    core->setModeText(QStringLiteral("全曲リピート(>>)"));
    QVERIFY(core->playTrack(0, false));
    QTRY_COMPARE(listener.changed.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
    // Taken by the stream, not heard yet: the bus still names the first.
    QTRY_VERIFY_WITH_TIMEOUT(core->player->engine()->nextTaken(), 15000);
    QCOMPARE(trackId(property(playerInterface, QStringLiteral("Metadata"))), QStringLiteral("/org/vurn/vurn/track/0"));
    QTRY_COMPARE_WITH_TIMEOUT(trackId(listener.changed.value(QStringLiteral("Metadata"))),
                              QStringLiteral("/org/vurn/vurn/track/1"), 10000);
    QVERIFY(core->positionMsec() < 3000);
    QCOMPARE(listener.changed.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
}

void tst_MprisService::commandsBecomeRequests_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QByteArray>("request");
    const QString root = QStringLiteral("org.mpris.MediaPlayer2");
    QTest::newRow("Raise") << root << "Raise" << QByteArray(SIGNAL(raiseRequested()));
    QTest::newRow("Quit") << root << "Quit" << QByteArray(SIGNAL(quitRequested()));
    QTest::newRow("Play") << playerInterface << "Play" << QByteArray(SIGNAL(playRequested()));
    QTest::newRow("Pause") << playerInterface << "Pause" << QByteArray(SIGNAL(pauseRequested()));
    QTest::newRow("Stop") << playerInterface << "Stop" << QByteArray(SIGNAL(stopRequested()));
    QTest::newRow("PlayPause") << playerInterface << "PlayPause" << QByteArray(SIGNAL(playPauseRequested()));
    QTest::newRow("Next") << playerInterface << "Next" << QByteArray(SIGNAL(nextRequested()));
    QTest::newRow("Previous") << playerInterface << "Previous" << QByteArray(SIGNAL(previousRequested()));
}

void tst_MprisService::commandsBecomeRequests()
{
    QFETCH(QString, interface);
    QFETCH(QString, method);
    QFETCH(QByteArray, request);
    QSignalSpy spy(mpris, request.constData());
    const QDBusMessage reply = call(interface, method);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(spy.count(), 1);
}

void tst_MprisService::seeking()
{
    QSignalSpy seeks(mpris, &mprisService::seekRequested);
    QSignalSpy nexts(mpris, &mprisService::nextRequested);
    // Stopped: nothing to seek in.
    call(playerInterface, QStringLiteral("Seek"), {qlonglong(1000000)});
    QCOMPARE(seeks.count(), 0);

    QVERIFY(core->playTrack(0, false));
    QTRY_VERIFY(mpris->canSeek());
    QTRY_VERIFY(mpris->positionMsec() > 0);
    call(playerInterface, QStringLiteral("SetPosition"),
         {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/vurn/vurn/track/0"))), qlonglong(3000000)});
    QCOMPARE(seeks.count(), 1);
    QCOMPARE(seeks.at(0).at(0).toLongLong(), 3000);
    QTRY_COMPARE(listener.seeked, QList<qlonglong>{3000000});

    // A stale track id, or a position past the end, is ignored.
    call(playerInterface, QStringLiteral("SetPosition"),
         {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/vurn/vurn/track/1"))), qlonglong(1000000)});
    call(playerInterface, QStringLiteral("SetPosition"),
         {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/vurn/vurn/track/0"))), qlonglong(60000000)});
    QCOMPARE(seeks.count(), 1);

    // Backwards past the start goes to the start; forwards past the end is the next track.
    call(playerInterface, QStringLiteral("Seek"), {qlonglong(-60000000)});
    QCOMPARE(seeks.count(), 2);
    QCOMPARE(seeks.at(1).at(0).toLongLong(), 0);
    call(playerInterface, QStringLiteral("Seek"), {qlonglong(60000000)});
    QCOMPARE(seeks.count(), 2);
    QCOMPARE(nexts.count(), 1);
}

void tst_MprisService::withoutABus()
{
    vurnCore alone;
    mprisService offline(QDBusConnection(QStringLiteral("no such connection")), &alone);
    QVERIFY(!offline.isRegistered());
    offline.refresh();
    offline.notifySeeked(1000);
    QCOMPARE(offline.playbackStatus(), QStringLiteral("Stopped"));
}

void tst_MprisService::playModesAsLoopAndShuffle_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("loop");
    QTest::addColumn<bool>("shuffle");
    QTest::addColumn<QString>("loopNone");
    QTest::addColumn<QString>("loopTrack");
    QTest::addColumn<QString>("loopPlaylist");
    QTest::addColumn<QString>("shuffleOn");
    QTest::addColumn<QString>("shuffleOff");
    // Each mode, what it reads as, and where each request takes it.
    QTest::newRow("none") << "リピートなし" << "None" << false << "リピートなし" << "1曲リピート"
                          << "全曲リピート(>>)" << "シャッフル" << "リピートなし";
    QTest::newRow("one") << "1曲リピート" << "Track" << false << "リピートなし" << "1曲リピート"
                         << "全曲リピート(>>)" << "シャッフル" << "1曲リピート";
    QTest::newRow("all forwards") << "全曲リピート(>>)" << "Playlist" << false << "リピートなし"
                                  << "1曲リピート" << "全曲リピート(>>)" << "シャッフル" << "全曲リピート(>>)";
    QTest::newRow("all backwards stays") << "全曲リピート(<<)" << "Playlist" << false << "リピートなし"
                                         << "1曲リピート" << "全曲リピート(<<)" << "シャッフル"
                                         << "全曲リピート(<<)";
    QTest::newRow("shuffle") << "シャッフル" << "Playlist" << true << "リピートなし" << "1曲リピート"
                             << "シャッフル" << "シャッフル" << "全曲リピート(>>)";
    QTest::newRow("random stays") << "ランダム" << "Playlist" << true << "リピートなし" << "1曲リピート"
                                  << "ランダム" << "ランダム" << "全曲リピート(>>)";
    QTest::newRow("one random") << "リピートなし：ランダム" << "None" << true << "リピートなし：ランダム"
                                << "1曲リピート" << "全曲リピート(>>)" << "リピートなし：ランダム"
                                << "リピートなし";
    QTest::newRow("an alarm's numbered mode") << "リピートなし：3" << "None" << false << "リピートなし：3"
                                              << "1曲リピート" << "全曲リピート(>>)" << "シャッフル"
                                              << "リピートなし：3";
}

void tst_MprisService::playModesAsLoopAndShuffle()
{
    QFETCH(QString, mode);
    QFETCH(QString, loop);
    QFETCH(bool, shuffle);
    QCOMPARE(mprisService::loopStatusOf(mode), loop);
    QCOMPARE(mprisService::isShuffled(mode), shuffle);
    QTEST(mprisService::modeForLoopStatus(mode, QStringLiteral("None")), "loopNone");
    QTEST(mprisService::modeForLoopStatus(mode, QStringLiteral("Track")), "loopTrack");
    QTEST(mprisService::modeForLoopStatus(mode, QStringLiteral("Playlist")), "loopPlaylist");
    QTEST(mprisService::modeForShuffle(mode, true), "shuffleOn");
    QTEST(mprisService::modeForShuffle(mode, false), "shuffleOff");
    QVERIFY(mprisService::modeForLoopStatus(mode, QStringLiteral("Everything")).isEmpty());
}

QTEST_MAIN(tst_MprisService)
#include "tst_mprisservice.moc"
