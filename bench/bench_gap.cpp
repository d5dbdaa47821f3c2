// The silence between two tracks cut from one continuous tone, as the sound
// server plays it, recorded on the sink's monitor across the change; 0 is a
// gapless change. Each format is played twice by the controller: with the
// second track queued ahead (what the player does in a repeating mode), and
// started only once the first has ended (the baseline: a change without
// queueing, as the player made it before). A FLAC pair whose first track
// lasts five minutes follows, then where seeks land, per format.
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/soundserverprobe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The two halves of `whole` at `split` seconds, encoded as `suffix`
// (mp3-lame: by the LAME encoder, which records its delay and padding).
bool cutPair(const QString &whole, const QString &split, const QString &first, const QString &second,
             const QString &suffix)
{
    const bool lame = suffix == QLatin1String("mp3-lame");
    const QString firstCut = lame ? first + QStringLiteral(".wav") : first;
    const QString secondCut = lame ? second + QStringLiteral(".wav") : second;
    if (!run(QStringLiteral("sox"), {whole, firstCut, QStringLiteral("trim"), QStringLiteral("0"), split})
        || !run(QStringLiteral("sox"), {whole, secondCut, QStringLiteral("trim"), split}))
        return false;
    if (!lame)
        return true;
    return run(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("192"), firstCut, first})
        && run(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("192"), secondCut, second});
}

// Longest run of samples quieter than -40 dBFS, in ms.
double longestSilenceMsec(const QVector<qint16> &samples)
{
    int longest = 0;
    int run = 0;
    for (qint16 s : samples) {
        run = (std::abs(int(s)) < 328) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest * 1000.0 / SoundServerProbe::sampleRate;
}

// The pitch of the sound in a window, leaving out moments of silence.
double pitch(const QVector<qint16> &samples)
{
    const int block = SoundServerProbe::sampleRate / 100;
    QVector<qint16> sound;
    for (int at = 0; at + block <= samples.size(); at += block) {
        const QVector<qint16> part = samples.mid(at, block);
        if (SoundServerProbe::rms(part) > 0.05)
            sound += part;
    }
    return sound.isEmpty() ? 0.0 : SoundServerProbe::frequency(sound);
}

bool waitFor(const std::function<bool()> &done, int msec)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < msec)
        QTest::qWait(10);
    return done();
}

// Plays the pair and records from 1.5 s before the change to 2 s after.
void measureChange(const QString &label, const QString &first, const QString &second, int firstMsec, bool queued)
{
    vurnCore core;
    core.addFiles({first, second});
    if (queued) {
        core.setModeText(QStringLiteral("全曲リピート(>>)"));
    } else {
        core.setModeText(QStringLiteral("リピートなし：1"));
        QObject::connect(&core, &vurnCore::trackEnded, &core, [&core] {
            if (core.currentIndex == 0)
                core.playTrack(1, false);
        });
    }
    core.playTrack(0, false);
    if (!waitFor([&core] { return core.isPlaying(); }, 10000)) {
        std::printf("%-28s did not start\n", qPrintable(label));
        return;
    }
    // Long first tracks are played through: what builds up over minutes counts.
    QTest::qWait(qMax(0, firstMsec - 1500 - int(core.positionMsec())));
    const QVector<qint16> heard = SoundServerProbe::recordWhileRunning(3500);
    const bool reached = core.currentIndex == 1;
    core.stopPlayback(nullptr);
    std::printf("%-28s %7.1f ms  (second track reached: %s)\n", qPrintable(label), longestSilenceMsec(heard),
                reached ? "yes" : "no");
    QTest::qWait(300);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    AudioFixtures fixtures;
    const QString whole = fixtures.makeSweep(QStringLiteral("whole.wav"), 6000, 400, 400);
    const bool seeksOnly = app.arguments().contains(QStringLiteral("--seeks"));
    std::printf("gap between two tracks cut from one tone (longest silence on the monitor)\n");
    for (const QString &suffix : {QStringLiteral("wav"), QStringLiteral("flac"), QStringLiteral("ogg"),
                                  QStringLiteral("mp3-lame"), QStringLiteral("mp3")}) {
        if (seeksOnly)
            break;
        const QString extension = suffix.startsWith(QLatin1String("mp3")) ? QStringLiteral("mp3") : suffix;
        const QString first = fixtures.path(suffix + QStringLiteral("-first.") + extension);
        const QString second = fixtures.path(suffix + QStringLiteral("-second.") + extension);
        if (!cutPair(whole, QStringLiteral("3"), first, second, suffix)) {
            std::printf("%s: fixtures could not be made\n", qPrintable(suffix));
            continue;
        }
        measureChange(suffix + (suffix == QLatin1String("mp3") ? QStringLiteral(" (sox)") : QString())
                          + QStringLiteral(", queued"),
                      first, second, 3000, true);
        measureChange(suffix + QStringLiteral(", started at the end"), first, second, 3000, false);
    }

    const QString longWhole = seeksOnly ? QString() : fixtures.makeSweep(QStringLiteral("long.wav"), 303000, 400, 400);
    const QString longFirst = fixtures.path(QStringLiteral("long-first.flac"));
    const QString longSecond = fixtures.path(QStringLiteral("long-second.flac"));
    if (!seeksOnly && cutPair(longWhole, QStringLiteral("300"), longFirst, longSecond, QStringLiteral("flac")))
        measureChange(QStringLiteral("flac after 5 min, queued"), longFirst, longSecond, 300000, true);

    std::printf("\nseek landings: 3.5 s asked for in a 6 s sweep, where the sound is (pitch)\n");
    constexpr int lowHz = 200;
    constexpr int highHz = 3200;
    constexpr int sweepMsec = 6000;
    for (const char *suffix : {"wav", "flac", "ogg", "mp3", "m4a", "wma", "tta", "opus"}) {
        for (const bool paused : {false, true}) {
            const QString file = fixtures.makeSweep(QStringLiteral("seek.") + QLatin1String(suffix), sweepMsec, lowHz, highHz);
            musicPlay player;
            player.playFile(file);
            if (!waitFor([&player] { return player.position() > 300; }, 10000)) {
                std::printf("%-5s did not start\n", suffix);
                continue;
            }
            if (paused) {
                player.pause();
                waitFor([&player] { return player.isPaused(); }, 5000);
            }
            player.seek(3500);
            QTest::qWait(300);
            if (paused)
                player.resume();
            waitFor([&player] { return player.isPlaying(); }, 5000);
            // Once the sound is back (a sink waking up plays silence first).
            waitFor([] { return SoundServerProbe::rms(SoundServerProbe::recordWhileRunning(50)) > 0.05; }, 3000);
            const qint64 before = player.position();
            const QVector<qint16> heard = SoundServerProbe::recordWhileRunning(300);
            const qint64 after = player.position();
            const double heardAt = (pitch(heard) - lowHz) * sweepMsec / double(highHz - lowHz);
            // The window lies between the positions read around its recording.
            std::printf("%-5s %-8s heard %5.0f ms while the position went %lld to %lld ms (%+.0f ms from their middle)\n",
                        suffix, paused ? "paused" : "playing", heardAt, before, after, heardAt - (before + after) / 2.0);
            player.stop();
            QFile::remove(file);
        }
    }
    return 0;
}
