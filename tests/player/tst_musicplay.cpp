#include "player/musicplay.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>

#include "support/soundserverprobe.h"

#include <memory>


class tst_MusicPlay : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void playsRealFile_data();
    void playsRealFile();
    void volumeKeptAsSet_data();
    void volumeKeptAsSet();
    void muteKeepsVolume();
    void refusedPathKeepsSource_data();
    void refusedPathKeepsSource();
    void unplayableFileSettles_data();
    void unplayableFileSettles();
    void stopInEveryState_data();
    void stopInEveryState();
    void seek();

private:
    bool waitPlaying(int timeoutMsec = 15000);
    // Of the one stream this process plays on the server; -1 without one.
    static int streamPercent();
    static bool streamMuted();

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<musicPlay> player;
    QString shortWav;
    QString longFlac;
};

bool tst_MusicPlay::waitPlaying(int timeoutMsec)
{
    QElapsedTimer clock;
    clock.start();
    while (!player->isPlaying() && clock.elapsed() < timeoutMsec)
        QTest::qWait(20);
    return player->isPlaying();
}

int tst_MusicPlay::streamPercent()
{
    const QList<HeardStream> streams = SoundServerProbe::streamsOf();
    return streams.size() == 1 ? streams.first().percent : -1;
}

bool tst_MusicPlay::streamMuted()
{
    const QList<HeardStream> streams = SoundServerProbe::streamsOf();
    return streams.size() == 1 && streams.first().muted;
}

void tst_MusicPlay::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    shortWav = fixtures->make(QStringLiteral("short.wav"), 3000,
                              TrackTags{QStringLiteral("Short"), QStringLiteral("Artist"), {}, 0});
    longFlac = fixtures->make(QStringLiteral("long.flac"), 12000);
    QVERIFY(!shortWav.isEmpty());
    QVERIFY(!longFlac.isEmpty());

    // The first media object on a fresh sound server takes a while to start.
    musicPlay warmUp;
    QVERIFY(warmUp.playFile(shortWav));
    QTRY_VERIFY_WITH_TIMEOUT(warmUp.isPlaying(), 60000);
    warmUp.stop();
}

void tst_MusicPlay::init()
{
    player = std::make_unique<musicPlay>();
}

void tst_MusicPlay::cleanup()
{
    player.reset();
}

void tst_MusicPlay::playsRealFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("wav with tags") << QStringLiteral("tagged.wav") << QStringLiteral("Tagged");
    QTest::newRow("flac") << QStringLiteral("plain.flac") << QStringLiteral("plain");
    QTest::newRow("non-ASCII path") << QStringLiteral("日本語 フォルダ/朝の歌.flac")
                                    << QStringLiteral("朝の歌");
}

void tst_MusicPlay::playsRealFile()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    const QString file = fixtures->make(name, 3000,
                                        title == QLatin1String("Tagged")
                                            ? TrackTags{title, {}, {}, 0}
                                            : TrackTags());
    QVERIFY(!file.isEmpty());

    QVERIFY(player->playFile(file));
    // The player describes the file it plays.
    QCOMPARE(player->filePath, file);
    QCOMPARE(player->title, title);
    QCOMPARE(player->lengthMsec, 3000);

    QVERIFY(waitPlaying());
    const qint64 first = player->position();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > first + 300, 5000);
    QCOMPARE(player->engine()->currentFile(), QFileInfo(file).absoluteFilePath());

    QVERIFY(player->stop());
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), musicPlay::State::Stopped, 5000);
    QVERIFY(!player->isPlaying());
}

void tst_MusicPlay::volumeKeptAsSet_data()
{
    QTest::addColumn<bool>("asPercent");
    QTest::addColumn<double>("set");
    QTest::addColumn<double>("expected");
    QTest::newRow("0.70") << false << 0.70 << 0.70;
    QTest::newRow("0.05") << false << 0.05 << 0.05;
    QTest::newRow("0") << false << 0.0 << 0.0;
    QTest::newRow("1") << false << 1.0 << 1.0;
    QTest::newRow("35 percent") << true << 35.0 << 0.35;
    QTest::newRow("100 percent") << true << 100.0 << 1.0;
    QTest::newRow("above 1 is held at 1") << false << 1.5 << 1.0;
    QTest::newRow("negative is held at 0") << false << -0.2 << 0.0;
    QTest::newRow("negative percent") << true << -20.0 << 0.0;
}

void tst_MusicPlay::volumeKeptAsSet()
{
    QFETCH(bool, asPercent);
    QFETCH(double, set);
    QFETCH(double, expected);
    QVERIFY(player->playFile(longFlac));
    QVERIFY(waitPlaying());
    if (asPercent)
        player->setVolumePercent(int(set));
    else
        player->setVolume(set);
    QCOMPARE(player->volume(), expected);
    QTest::qWait(100);
    QCOMPARE(player->volume(), expected);
    // The stream on the server carries it.
    QTRY_COMPARE_WITH_TIMEOUT(streamPercent(), gstEngine::serverPercent(expected), 3000);
}

void tst_MusicPlay::muteKeepsVolume()
{
    QVERIFY(player->playFile(longFlac));
    QVERIFY(waitPlaying());
    player->setVolume(0.7);
    QVERIFY(!player->isMuted());

    player->toggleMute();
    QVERIFY(player->isMuted());
    QTRY_VERIFY_WITH_TIMEOUT(streamMuted(), 3000);
    QCOMPARE(player->volume(), 0.7);

    player->toggleMute();
    QVERIFY(!player->isMuted());
    QTRY_VERIFY_WITH_TIMEOUT(!streamMuted(), 3000);
    QCOMPARE(player->volume(), 0.7);
    QTRY_COMPARE_WITH_TIMEOUT(streamPercent(), gstEngine::serverPercent(0.7), 3000);

    // A volume set while muted is the one heard after unmuting.
    player->toggleMute();
    player->setVolumePercent(40);
    QVERIFY(player->isMuted());
    QCOMPARE(player->volume(), 0.4);
    player->toggleMute();
    QCOMPARE(player->volume(), 0.4);
    QTRY_COMPARE_WITH_TIMEOUT(streamPercent(), gstEngine::serverPercent(0.4), 3000);
    QVERIFY(!streamMuted());
}

void tst_MusicPlay::refusedPathKeepsSource_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/vurn/none.wav");
    QTest::newRow("empty path") << QString();
    QTest::newRow("folder") << QStringLiteral("FOLDER");
}

void tst_MusicPlay::refusedPathKeepsSource()
{
    QFETCH(QString, path);
    if (path == QLatin1String("FOLDER"))
        path = fixtures->dir();
    QVERIFY(player->playFile(shortWav));
    QVERIFY(waitPlaying());
    const QString source = player->engine()->currentFile();
    QCOMPARE(source, QFileInfo(shortWav).absoluteFilePath());

    // A folder is not a track: the tag reader may warn about it.
    ModalAnswerer answerer;
    answerer.arm();
    QVERIFY(!player->playFile(path));
    QCOMPARE(player->engine()->currentFile(), source);
    QVERIFY(player->isPlaying());
}

void tst_MusicPlay::unplayableFileSettles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("empty file") << QStringLiteral("empty");
    QTest::newRow("undecodable file") << QStringLiteral("broken");
}

void tst_MusicPlay::unplayableFileSettles()
{
    QFETCH(QString, kind);
    QString file;
    if (kind == QLatin1String("empty")) {
        file = fixtures->path(QStringLiteral("empty.mp3"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else {
        file = fixtures->makeBroken(QStringLiteral("broken.mp3"));
    }
    QSignalSpy failed(player.get(), &musicPlay::failed);

    // The tag reader may warn about the file; the player still hands it on.
    ModalAnswerer answerer;
    answerer.arm();
    QVERIFY(player->playFile(file));

    // Whatever the backend does with it, it settles without playing.
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 10000);
    QCOMPARE(player->state(), musicPlay::State::Error);
    QTest::qWait(1000);
    QVERIFY(!player->isPlaying());
    QVERIFY(SoundServerProbe::audibleStreams().isEmpty());

    // The player is usable again afterwards.
    QVERIFY(player->stop());
    QVERIFY(player->playFile(shortWav));
    QVERIFY(waitPlaying());
}

void tst_MusicPlay::stopInEveryState_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("right after play") << QStringLiteral("start");
    QTest::newRow("while playing") << QStringLiteral("playing");
    QTest::newRow("already stopped") << QStringLiteral("stopped");
    QTest::newRow("never started") << QStringLiteral("new");
    QTest::newRow("after an error") << QStringLiteral("error");
}

void tst_MusicPlay::stopInEveryState()
{
    QFETCH(QString, when);
    if (when == QLatin1String("start")) {
        QVERIFY(player->playFile(shortWav));
    } else if (when == QLatin1String("playing")) {
        QVERIFY(player->playFile(shortWav));
        QVERIFY(waitPlaying());
    } else if (when == QLatin1String("stopped")) {
        QVERIFY(player->playFile(shortWav));
        QVERIFY(waitPlaying());
        player->stop();
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), musicPlay::State::Stopped, 5000);
    } else if (when == QLatin1String("error")) {
        const QString empty = fixtures->path(QStringLiteral("nothing.mp3"));
        QFile file(empty);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ModalAnswerer answerer;
        answerer.arm();
        QVERIFY(player->playFile(empty));
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), musicPlay::State::Error, 10000);
    }

    QVERIFY(player->stop());
    // Nothing is heard afterwards, not even a track that was still opening.
    QTest::qWait(1500);
    QVERIFY(!player->isPlaying());
    QCOMPARE(player->state(), musicPlay::State::Stopped);
    QVERIFY(SoundServerProbe::audibleStreams().isEmpty());
}

void tst_MusicPlay::seek()
{
    // Stopped: nothing moves and nothing starts.
    player->seek(4000);
    QCOMPARE(player->position(), qint64(0));
    QCOMPARE(player->state(), musicPlay::State::Stopped);

    QVERIFY(player->playFile(longFlac));
    QVERIFY(waitPlaying());
    player->seek(6000);
    QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 6000, 5000);
    QVERIFY(player->position() < 11000);

    // Back towards the start; a negative position means the start.
    player->seek(-500);
    QTRY_VERIFY_WITH_TIMEOUT(player->position() < 3000, 5000);

    player->stop();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), musicPlay::State::Stopped, 5000);
    player->seek(5000);
    QTest::qWait(500);
    QCOMPARE(player->state(), musicPlay::State::Stopped);
}

QTEST_MAIN(tst_MusicPlay)
#include "tst_musicplay.moc"
