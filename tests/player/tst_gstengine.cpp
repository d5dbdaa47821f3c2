// The GStreamer engine heard at the private sound server: two tracks cut
// sample-exactly from one continuous tone must join without a gap, on one
// stream, and a withdrawn or vanished next track must end the play with the
// first track whole.
#include "player/gstengine.h"
#include "support/audiofixtures.h"
#include "support/soundserverprobe.h"

#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int trackMsec = 2500;
constexpr int trackSamples = SoundServerProbe::sampleRate * trackMsec / 1000;
// Below -40 dBFS; the tone is at -6 dBFS, so only a zero crossing's one
// sample is this quiet inside the tone.
constexpr int quiet = 328;
constexpr double gapBoundMsec = 5.0;
constexpr int monitorWakeMsec = 60;

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// What the monitor heard, between the first and the last sound.
struct Heard
{
    double soundMsec = 0;          // from the first to the last loud sample
    double longestSilenceMsec = 0; // inside that span, near the change
    double silenceAtMsec = 0;      // where that silence starts, from the first sound
};

// Silence is looked for this near the change: elsewhere it is a loaded
// machine's underrun, not the engine's gap.
Heard measure(const QVector<qint16> &samples, double changeAtMsec = trackMsec, double nearMsec = 500)
{
    Heard heard;
    const auto loud = [](qint16 s) { return std::abs(int(s)) >= quiet; };
    const auto first = std::find_if(samples.cbegin(), samples.cend(), loud);
    const auto last = std::find_if(samples.crbegin(), samples.crend(), loud);
    if (first == samples.cend())
        return heard;
    const int begin = int(first - samples.cbegin());
    const int end = int(samples.size() - (last - samples.crbegin()));
    const double perSample = 1000.0 / SoundServerProbe::sampleRate;
    heard.soundMsec = (end - begin) * perSample;
    int run = 0;
    for (int i = begin; i < end; ++i) {
        run = loud(samples[i]) ? 0 : run + 1;
        const double startsAt = (i - run + 1 - begin) * perSample;
        if (run * perSample > heard.longestSilenceMsec && qAbs(startsAt - changeAtMsec) < nearMsec) {
            heard.longestSilenceMsec = run * perSample;
            heard.silenceAtMsec = startsAt;
        }
    }
    return heard;
}

} // namespace

class tst_GstEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void changeIsGapless_data();
    void changeIsGapless();
    void nextTrackNotTaken_data();
    void nextTrackNotTaken();

private:
    // The two halves of one tone in a format, or empty pair.
    QPair<QString, QString> halves(const QString &suffix);

    std::unique_ptr<AudioFixtures> fixtures;
    QString wholeFirst;
    QString wholeSecond;
};

void tst_GstEngine::initTestCase()
{
    qRegisterMetaType<gstEngine::State>("gstEngine::State");
    fixtures = std::make_unique<AudioFixtures>();
    const QString whole = fixtures->makeSweep(QStringLiteral("whole.wav"), 2 * trackMsec, 440, 440);
    QVERIFY(!whole.isEmpty());
    wholeFirst = fixtures->path(QStringLiteral("first.wav"));
    wholeSecond = fixtures->path(QStringLiteral("second.wav"));
    // Cut at a sample, not at a time: nothing is lost or doubled between them.
    const QString cut = QStringLiteral("=%1s").arg(trackSamples);
    QVERIFY(run(QStringLiteral("sox"), {whole, wholeFirst, QStringLiteral("trim"), QStringLiteral("0"), cut}));
    QVERIFY(run(QStringLiteral("sox"), {whole, wholeSecond, QStringLiteral("trim"), cut}));
}

QPair<QString, QString> tst_GstEngine::halves(const QString &suffix)
{
    if (suffix == QLatin1String("wav"))
        return {wholeFirst, wholeSecond};
    QPair<QString, QString> made;
    for (const QString &source : {wholeFirst, wholeSecond}) {
        const QString target = source.left(source.size() - 3) + suffix;
        bool ok = false;
        if (suffix == QLatin1String("flac"))
            ok = run(QStringLiteral("sox"), {source, target});
        else if (suffix == QLatin1String("ogg"))
            ok = run(QStringLiteral("oggenc"), {QStringLiteral("-Q"), QStringLiteral("-o"), target, source});
        else if (suffix == QLatin1String("mp3"))
            // LAME notes its encoder delay and padding, which the decoder trims.
            ok = run(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("192"),
                                              source, target});
        if (!ok)
            return {};
        (made.first.isEmpty() ? made.first : made.second) = target;
    }
    return made;
}

void tst_GstEngine::changeIsGapless_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("wav") << QStringLiteral("wav");
    QTest::newRow("flac") << QStringLiteral("flac");
    QTest::newRow("ogg vorbis") << QStringLiteral("ogg");
    QTest::newRow("mp3 from lame") << QStringLiteral("mp3");
}

void tst_GstEngine::changeIsGapless()
{
    QFETCH(QString, suffix);
    const auto [first, second] = halves(suffix);
    QVERIFY2(!first.isEmpty() && !second.isEmpty(), "the fixtures could not be encoded");

    // A gap at the change comes back in every run; an underrun of a loaded
    // machine seldom comes twice at the same spot.
    Heard heard;
    qint64 movedAfter = -1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        gstEngine engine;
        QSignalSpy moved(&engine, &gstEngine::movedToNext);
        QSignalSpy finished(&engine, &gstEngine::finished);
        QSignalSpy failed(&engine, &gstEngine::failed);
        // The move counts when the second track is heard, not when queued.
        QElapsedTimer sincePlaying;
        connect(&engine, &gstEngine::stateChanged, [&](gstEngine::State state) {
            if (state == gstEngine::State::Playing && !sincePlaying.isValid())
                sincePlaying.start();
        });
        connect(&engine, &gstEngine::movedToNext, [&] { movedAfter = sincePlaying.elapsed(); });
        QSet<int> streams;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&streams] {
            // A corked one is the sink's probe of what the server takes.
            for (const HeardStream &stream : SoundServerProbe::audibleStreams())
                streams.insert(stream.index);
        });
        watch.start(250);
        // The recorder runs before the first sound, so that all of it is heard.
        QTimer::singleShot(1000, &engine, [&] {
            QVERIFY(engine.playFile(first));
            engine.setNextFile(second);
        });
        const QVector<qint16> samples = SoundServerProbe::recordWhileRunning(2 * trackMsec + 2500);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
        watch.stop();

        QCOMPARE(failed.count(), 0);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().first().toString(), second);
        QCOMPARE(engine.currentFile(), second);
        QCOMPARE(engine.state(), gstEngine::State::Stopped);
        QCOMPARE(streams.size(), 1);

        heard = measure(samples);
        // Nothing of either track lost but the first moments, which the
        // monitor misses while the sink wakes up for the first stream.
        // Not before the first track's end; a stall of the machine only
        // makes it later (a sink waking up on a busy machine holds its clock
        // for up to a second, so no upper bound is taken from the wall clock).
        QVERIFY2(movedAfter > trackMsec - 150, qPrintable(QString::number(movedAfter)));
        if (heard.longestSilenceMsec < gapBoundMsec && heard.soundMsec > 2 * trackMsec - monitorWakeMsec)
            break;
        qWarning("attempt %d: %.1f ms of silence %.0f ms in, %.0f ms heard, moved after %lld ms", attempt + 1,
                 heard.longestSilenceMsec, heard.silenceAtMsec, heard.soundMsec, movedAfter);
    }
    QVERIFY2(heard.longestSilenceMsec < gapBoundMsec,
             qPrintable(QStringLiteral("%1 ms of silence at %2 ms").arg(heard.longestSilenceMsec).arg(heard.silenceAtMsec)));
    QVERIFY2(heard.soundMsec > 2 * trackMsec - monitorWakeMsec,
             qPrintable(QStringLiteral("heard %1 ms of %2").arg(heard.soundMsec).arg(2 * trackMsec)));
}

void tst_GstEngine::nextTrackNotTaken_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("taken"); // or half a second in
    QTest::newRow("withdrawn early") << QStringLiteral("withdraw") << false;
    // The pipeline already decodes it.
    QTest::newRow("withdrawn once taken") << QStringLiteral("withdraw") << true;
    QTest::newRow("replaced once taken") << QStringLiteral("replace") << true;
    QTest::newRow("deleted before its turn") << QStringLiteral("delete") << false;
}

void tst_GstEngine::nextTrackNotTaken()
{
    QFETCH(QString, change);
    QFETCH(bool, taken);
    const QString next = fixtures->path(QStringLiteral("next.wav"));
    QFile::remove(next);
    QVERIFY(QFile::copy(wholeSecond, next));

    gstEngine engine;
    QSignalSpy moved(&engine, &gstEngine::movedToNext);
    QSignalSpy finished(&engine, &gstEngine::finished);
    QSignalSpy failed(&engine, &gstEngine::failed);
    QTimer::singleShot(1000, &engine, [&] {
        QVERIFY(engine.playFile(wholeFirst));
        engine.setNextFile(next);
    });
    QTimer changer;
    connect(&changer, &QTimer::timeout, [&] {
        if (engine.state() != gstEngine::State::Playing || (taken ? !engine.nextTaken() : engine.position() < 500))
            return;
        changer.stop();
        if (change == QLatin1String("withdraw"))
            engine.setNextFile(QString());
        else if (change == QLatin1String("replace"))
            engine.setNextFile(wholeFirst);
        else
            QFile::remove(next);
    });
    changer.start(1);
    const QVector<qint16> samples = SoundServerProbe::recordWhileRunning(trackMsec + 3000);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
    QVERIFY(!changer.isActive());

    QCOMPARE(moved.count(), 0);
    QCOMPARE(failed.count(), 0);
    QCOMPARE(engine.currentFile(), wholeFirst);
    // The first track whole, and nothing of the next.
    const Heard heard = measure(samples);
    QVERIFY2(heard.soundMsec > trackMsec - monitorWakeMsec && heard.soundMsec < trackMsec + 100,
             qPrintable(QStringLiteral("heard %1 ms of %2").arg(heard.soundMsec).arg(trackMsec)));
}

QTEST_MAIN(tst_GstEngine)
#include "tst_gstengine.moc"
