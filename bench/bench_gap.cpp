// The silence between two tracks cut from one continuous tone, as the sound
// server plays it: the first half ends, the controller starts the second (as
// the main window does at the end of a track), and the sink's monitor is
// recorded across the change. Prints the longest silent run in ms for each
// format; 0 would be a gapless change. The GStreamer engine plays the same
// pair beside it, the second file handed over before the first ends.
#include "engine/gstengine.h"
#include "engine/vurncore.h"
#include "support/audiofixtures.h"
#include "support/soundserverprobe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <phonon/MediaObject>

#include <algorithm>
#include <cstdio>

namespace {

bool cut(const QString &from, const QString &to, const QString &start, const QString &length)
{
    return QProcess::execute(QStringLiteral("sox"), {from, to, QStringLiteral("trim"), start, length}) == 0;
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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    AudioFixtures fixtures;
    const QString whole = fixtures.makeSweep(QStringLiteral("whole.wav"), 6000, 400, 400);
    std::printf("gap between two tracks cut from one tone (longest silence on the monitor)\n");
    for (const QString &suffix : {QStringLiteral("wav"), QStringLiteral("flac"), QStringLiteral("mp3"),
                                  QStringLiteral("ogg")}) {
        const QString first = fixtures.path(QStringLiteral("first.") + suffix);
        const QString second = fixtures.path(QStringLiteral("second.") + suffix);
        if (!cut(whole, first, QStringLiteral("0"), QStringLiteral("3"))
            || !cut(whole, second, QStringLiteral("3"), QStringLiteral("3"))) {
            std::printf("%s: fixtures could not be made\n", qPrintable(suffix));
            continue;
        }
        vurnCore core;
        core.setModeText(QStringLiteral("リピートなし：2"));
        core.addFiles({first, second});
        QObject::connect(core.mediaObject(), &Phonon::MediaObject::finished, &core, [&core] {
            if (core.currentIndex == 0)
                core.playTrack(1, false);
        });
        core.playTrack(0, false);
        QElapsedTimer clock;
        clock.start();
        while (!core.isPlaying() && clock.elapsed() < 10000)
            QTest::qWait(10);
        // From the middle of the first track to the middle of the second.
        QTest::qWait(1000);
        const QVector<qint16> heard = SoundServerProbe::recordWhileRunning(4500);
        core.stopPlayback(nullptr);
        std::printf("%-5s %7.1f ms  (second track reached: %s, sound %.1f of %.1f s)\n", qPrintable(suffix),
                    longestSilenceMsec(heard), core.currentIndex == 1 ? "yes" : "no",
                    std::count_if(heard.cbegin(), heard.cend(), [](qint16 s) { return std::abs(int(s)) >= 328; })
                        / double(SoundServerProbe::sampleRate),
                    heard.size() / double(SoundServerProbe::sampleRate));
        QTest::qWait(300);

        gstEngine engine;
        engine.playFile(first);
        engine.setNextFile(second);
        clock.restart();
        while (!engine.isPlaying() && clock.elapsed() < 10000)
            QTest::qWait(10);
        QTest::qWait(1000);
        const QVector<qint16> heardEngine = SoundServerProbe::recordWhileRunning(4500);
        const bool moved = engine.currentFile() == second;
        engine.stop();
        std::printf("%-5s %7.1f ms  (GStreamer engine; second track reached: %s)\n", qPrintable(suffix),
                    longestSilenceMsec(heardEngine), moved ? "yes" : "no");
        QTest::qWait(300);
    }
    return 0;
}
