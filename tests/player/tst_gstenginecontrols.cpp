// What a person does to the GStreamer engine, checked where it is heard:
// the stream's volume and mute on the sound server, a pause that corks the
// stream and resumes in place, seeks that land on the tone asked for, files
// that fail without a hang, and ReplayGain levels on the sink's monitor.
#include "player/gstengine.h"
#include "support/audiofixtures.h"
#include "support/soundserverprobe.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <cmath>
#include <memory>

namespace {

constexpr int lowHz = 200;
constexpr int highHz = 3200;
constexpr int sweepMsec = 6000;

// The one stream this process plays, or an empty one.
HeardStream ownStream()
{
    const QList<HeardStream> audible = SoundServerProbe::audibleStreams();
    return audible.size() == 1 ? audible.first() : HeardStream();
}

// A window of sound, skipping the silence a loaded machine's sink plays
// while it catches up (its clock ran on while it stalled); empty when none
// came within a few tries.
QVector<qint16> soundWindow(int msec)
{
    for (int attempt = 0; attempt < 6; ++attempt) {
        const QVector<qint16> heard = SoundServerProbe::recordWhileRunning(msec);
        if (SoundServerProbe::rms(heard.mid(0, heard.size() / 4)) > 0.02
            && SoundServerProbe::rms(heard.mid(heard.size() * 3 / 4)) > 0.02)
            return heard;
    }
    return {};
}

// The pitch of the sound in a window, leaving out moments of silence, which
// would lower it.
double pitch(const QVector<qint16> &samples)
{
    const int block = SoundServerProbe::sampleRate / 100;
    QVector<qint16> sound;
    for (int at = 0; at + block <= samples.size(); at += block) {
        const QVector<qint16> part = samples.mid(at, block);
        if (SoundServerProbe::rms(part) > 0.05)
            sound += part;
    }
    return SoundServerProbe::frequency(sound);
}

double decibels(double rms)
{
    return 20.0 * std::log10(qMax(rms, 1e-9));
}

} // namespace

class tst_GstEngineControls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void levelOnServer_data();
    void levelOnServer();
    void pauseCorksAndResumesInPlace();
    void seekLands_data();
    void seekLands();
    void failsWithoutHanging_data();
    void failsWithoutHanging();
    void replayGainLevels_data();
    void replayGainLevels();

private:
    bool startPlaying(gstEngine &engine, const QString &file);

    std::unique_ptr<AudioFixtures> fixtures;
    QString longWav;
};

void tst_GstEngineControls::initTestCase()
{
    qRegisterMetaType<gstEngine::State>("gstEngine::State");
    fixtures = std::make_unique<AudioFixtures>();
    longWav = fixtures->make(QStringLiteral("long.wav"), 20000);
    QVERIFY(!longWav.isEmpty());
}

bool tst_GstEngineControls::startPlaying(gstEngine &engine, const QString &file)
{
    if (!engine.playFile(file))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000 && (!engine.isPlaying() || ownStream().index < 0))
        QTest::qWait(20);
    return engine.isPlaying() && ownStream().index >= 0;
}

void tst_GstEngineControls::levelOnServer_data()
{
    QTest::addColumn<qreal>("level");
    QTest::addColumn<qreal>("fade");
    QTest::addColumn<bool>("whileStopped"); // set before the stream exists
    QTest::addColumn<int>("percent");       // as the player has always been heard
    QTest::newRow("full") << 1.0 << 1.0 << false << 100;
    QTest::newRow("half") << 0.5 << 1.0 << false << 35;
    QTest::newRow("half, set before playing") << 0.5 << 1.0 << true << 35;
    QTest::newRow("a fifth") << 0.2 << 1.0 << false << 9;
    QTest::newRow("full, faded to half") << 1.0 << 0.5 << false << 35;
    QTest::newRow("silent") << 0.0 << 1.0 << false << 0;
}

void tst_GstEngineControls::levelOnServer()
{
    QFETCH(qreal, level);
    QFETCH(qreal, fade);
    QFETCH(bool, whileStopped);
    QFETCH(int, percent);
    QCOMPARE(qRound(gstEngine::serverFraction(level * fade) * 100), percent);

    gstEngine engine;
    if (whileStopped) {
        engine.setVolume(level);
        engine.setAttenuation(fade);
    }
    QVERIFY(startPlaying(engine, longWav));
    if (!whileStopped) {
        engine.setVolume(level);
        engine.setAttenuation(fade);
    }
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(ownStream().percent - percent) <= 1, 10000);
    QCOMPARE(engine.volume(), level);

    // Mute holds the stream silent and gives the same level back.
    engine.setMuted(true);
    QTRY_VERIFY_WITH_TIMEOUT(ownStream().muted, 10000);
    QCOMPARE(engine.volume(), level);
    engine.setMuted(false);
    QTRY_VERIFY_WITH_TIMEOUT(!ownStream().muted, 10000);
    QVERIFY(qAbs(ownStream().percent - percent) <= 1);
}

void tst_GstEngineControls::pauseCorksAndResumesInPlace()
{
    gstEngine engine;
    QVERIFY(startPlaying(engine, longWav));
    const int stream = ownStream().index;
    QTRY_VERIFY_WITH_TIMEOUT(engine.position() > 1000, 10000);

    engine.pause();
    QTRY_VERIFY_WITH_TIMEOUT(engine.isPaused(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::audibleStreams().isEmpty(), 10000);
    const qint64 held = engine.position();
    QTest::qWait(1500);
    QVERIFY2(qAbs(engine.position() - held) < 50, qPrintable(QString::number(engine.position() - held)));

    engine.resume();
    QTRY_VERIFY_WITH_TIMEOUT(engine.isPlaying(), 10000);
    // The same stream goes on, from where it stopped.
    QTRY_COMPARE_WITH_TIMEOUT(ownStream().index, stream, 10000);
    const qint64 resumed = engine.position();
    QVERIFY2(resumed >= held - 50 && resumed < held + 1000,
             qPrintable(QStringLiteral("resumed at %1 after pausing at %2").arg(resumed).arg(held)));
}

void tst_GstEngineControls::seekLands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("paused");
    // Every kind of file the add dialog offers that can be made here; those
    // read through libav's demuxers (m4a, wma, tta) also while paused.
    for (const char *suffix : {"wav", "flac", "ogg", "oga", "mp3", "mpa", "m2a", "m4a", "wma", "tta", "opus"}) {
        const QString name = QStringLiteral("sweep.") + QLatin1String(suffix);
        QTest::newRow(suffix) << name << false;
    }
    for (const char *suffix : {"wav", "flac", "ogg", "mp3", "m4a", "wma", "tta"}) {
        const QString name = QStringLiteral("sweep.") + QLatin1String(suffix);
        QTest::newRow(qPrintable(name + QStringLiteral(", paused"))) << name << true;
    }
}

void tst_GstEngineControls::seekLands()
{
    QFETCH(QString, name);
    QFETCH(bool, paused);
    const QString file = fixtures->makeSweep(name, sweepMsec, lowHz, highHz);
    QVERIFY2(!file.isEmpty(), "the fixture could not be encoded");
    const double hzPerMsec = double(highHz - lowHz) / sweepMsec;
    constexpr int target = 3500;
    // Accurate seeks land on the sample; what is heard trails the position
    // by at most the output's buffer.
    constexpr int tolerance = 300;

    gstEngine engine;
    QVERIFY(startPlaying(engine, file));
    QTRY_VERIFY_WITH_TIMEOUT(engine.position() > 300, 10000);
    if (paused) {
        engine.pause();
        QTRY_VERIFY_WITH_TIMEOUT(engine.isPaused(), 10000);
    }
    engine.seek(target);
    QTest::qWait(300);
    if (paused) {
        QVERIFY(engine.isPaused());
        QVERIFY2(qAbs(engine.position() - target) < 20, qPrintable(QString::number(engine.position())));
        engine.resume();
        QTRY_VERIFY_WITH_TIMEOUT(engine.isPlaying(), 10000);
    }
    QVERIFY2(qAbs(engine.position() - target) < tolerance + 300, qPrintable(QString::number(engine.position())));
    const qint64 before = engine.position();
    const QVector<qint16> heard = soundWindow(300);
    const qint64 after = engine.position();
    QVERIFY2(!heard.isEmpty(), "no sound after the seek");
    // The pitch tells where in the sweep the sound is; the window lies
    // somewhere between the two positions read around its recording.
    const double heardAt = (pitch(heard) - lowHz) / hzPerMsec;
    QVERIFY2(heardAt > target - tolerance && heardAt > before - tolerance && heardAt < after + tolerance,
             qPrintable(QStringLiteral("heard %1 ms, the engine was at %2 to %3").arg(heardAt).arg(before).arg(after)));
}

void tst_GstEngineControls::failsWithoutHanging_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("not audio") << QStringLiteral("broken");
    QTest::newRow("zero length") << QStringLiteral("empty");
}

void tst_GstEngineControls::failsWithoutHanging()
{
    QFETCH(QString, kind);
    QString file = fixtures->path(kind + QStringLiteral(".flac"));
    if (kind == QLatin1String("broken")) {
        file = fixtures->makeBroken(QStringLiteral("broken.mp3"));
    } else if (kind == QLatin1String("empty")) {
        QFile empty(file);
        QVERIFY(empty.open(QIODevice::WriteOnly));
    }
    gstEngine engine;
    QSignalSpy failed(&engine, &gstEngine::failed);
    const bool started = engine.playFile(file);
    QCOMPARE(started, kind != QLatin1String("missing"));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 15000);
    QCOMPARE(failed.first().first().toString(), file);
    QCOMPARE(engine.state(), gstEngine::State::Error);
    QVERIFY(!engine.errorText().isEmpty());
    QCOMPARE(engine.position(), qint64(0));

    // A good file plays right after.
    QVERIFY(startPlaying(engine, longWav));
    QCOMPARE(failed.count(), 1);
}

void tst_GstEngineControls::replayGainLevels_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("apartDb"); // the louder track over the quieter, heard
    // The louder tone is tagged 6 dB down, the quieter one not at all.
    QTest::newRow("track") << int(gstEngine::ReplayGain::Track) << 0.0;
    QTest::newRow("album") << int(gstEngine::ReplayGain::Album) << 0.0;
    QTest::newRow("off") << int(gstEngine::ReplayGain::Off) << 6.0;
}

void tst_GstEngineControls::replayGainLevels()
{
    QFETCH(int, mode);
    QFETCH(double, apartDb);
    // makeSweep writes the tone at half scale; sox takes the quieter from it.
    const QString loud = fixtures->makeSweep(QStringLiteral("loud.wav"), 6000, 440, 440);
    const QString quiet = fixtures->path(QStringLiteral("quiet.flac"));
    const QString tagged = fixtures->path(QStringLiteral("loud.flac"));
    QVERIFY(QProcess::execute(QStringLiteral("sox"), {loud, quiet, QStringLiteral("gain"), QStringLiteral("-6")}) == 0);
    QVERIFY(QProcess::execute(QStringLiteral("sox"), {loud, tagged}) == 0);
    TagLib::FileRef ref(QFile::encodeName(tagged).constData());
    QVERIFY(!ref.isNull());
    TagLib::PropertyMap tags = ref.file()->properties();
    tags.replace("REPLAYGAIN_TRACK_GAIN", TagLib::StringList("-6.00 dB"));
    tags.replace("REPLAYGAIN_ALBUM_GAIN", TagLib::StringList("-6.00 dB"));
    ref.file()->setProperties(tags);
    QVERIFY(ref.save());

    gstEngine engine;
    engine.setReplayGain(gstEngine::ReplayGain(mode));
    double level[2] = {0, 0};
    const QString files[2] = {tagged, quiet};
    for (int i = 0; i < 2; ++i) {
        QVERIFY(startPlaying(engine, files[i]));
        QTRY_VERIFY_WITH_TIMEOUT(engine.position() > 300, 10000);
        const QVector<qint16> heard = soundWindow(600);
        QVERIFY(!heard.isEmpty());
        level[i] = decibels(SoundServerProbe::rms(heard));
        engine.stop();
    }
    QVERIFY2(qAbs(level[0] - level[1] - apartDb) < 1.0,
             qPrintable(QStringLiteral("heard %1 dB and %2 dB").arg(level[0]).arg(level[1])));
}

QTEST_MAIN(tst_GstEngineControls)
#include "tst_gstenginecontrols.moc"
