// Finding in a 100,000-track playlist: the time each keystroke takes until
// the table is narrowed and the longest stall of the event loop while typing,
// against a bare loop that only tests every track's folded text for the
// same words (the least any narrowing must do).
#include "app/mainwindow.h"
#include "stallmeter.h"
#include "forms/findbar.h"
#include "library/musicinfo.h"
#include "playlist/playlist.h"
#include "playlist/trackfilter.h"
#include "playlist/vurncore.h"
#include "storage/vurnsettings.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int trackCount = 100000;

double bareMatch(const QStringList &keys, const QString &query)
{
    const QStringList words = trackFilter::fold(query).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QElapsedTimer clock;
    clock.start();
    int shown = 0;
    for (const QString &key : keys) {
        bool all = true;
        for (const QString &word : words)
            all = all && key.contains(word);
        shown += all ? 1 : 0;
    }
    const double msec = clock.nsecsElapsed() / 1e6;
    return shown >= 0 ? msec : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir state;
    vurnSettings::setStateDirectoryOverride(state.path());
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    const QStringList artists = {QStringLiteral("The Beatles"), QStringLiteral("Queen"), QStringLiteral("歌手"),
                                 QStringLiteral("ＡＢＣバンド"), QStringLiteral("Miles Davis"),
                                 QStringLiteral("ｱｲｳ楽団")};
    QStringList keys;
    keys.reserve(trackCount);
    for (int i = 0; i < trackCount; ++i) {
        auto *track = new musicInfo();
        track->title = (i % 3 == 0 ? QStringLiteral("朝の歌 %1") : QStringLiteral("Song Number %1")).arg(i);
        track->artist = artists.at(i % artists.size());
        track->album = QStringLiteral("Album %1").arg(i / 12);
        track->lengthMsec = 180000;
        track->lengthText = QStringLiteral("3:00");
        window.core->playlist->addTrack(track);
        keys << trackFilter::fold(track->title + QLatin1Char('\n') + track->artist + QLatin1Char('\n')
                                  + track->album);
    }
    window.core->showNewTracks(0);
    window.refreshTotals();
    QTest::qWait(200);

    window.actionFind->trigger();
    QLineEdit *field = window.finder->field();
    const QStringList typed = {QStringLiteral("s"), QStringLiteral("so"), QStringLiteral("son"),
                               QStringLiteral("song"), QStringLiteral("song 1"), QStringLiteral("song 12"),
                               QStringLiteral("song 123"), QStringLiteral("song 12"), QStringLiteral("song"),
                               QString(), QStringLiteral("ｱ"), QStringLiteral("ｱｲ"), QStringLiteral("朝"),
                               QStringLiteral("朝の歌 ａｂｃ"), QStringLiteral("zzz"), QString()};
    std::printf("find in %d tracks: each keystroke narrowing the table\n", trackCount);
    std::printf("%-16s %8s %10s %10s %8s\n", "typed", "shown", "narrow ms", "bare ms", "ratio");
    StallMeter meter;
    meter.start();
    double worst = 0;
    for (const QString &text : typed) {
        QElapsedTimer clock;
        clock.start();
        field->setText(text);
        // Long passes go on between events: until the table is narrowed.
        while (window.finder->isBusy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double msec = clock.nsecsElapsed() / 1e6;
        const double bare = bareMatch(keys, text);
        worst = std::max(worst, msec);
        std::printf("%-16s %8d %10.1f %10.1f %8.1f\n", qPrintable(QLatin1Char('"') + text + QLatin1Char('"')),
                    window.finder->isNarrowed() ? window.finder->shownCount() : trackCount, msec, bare,
                    bare > 0 ? msec / bare : 0.0);
        QTest::qWait(30); // a person types a key every 100 ms or more; the loop runs between
    }
    const qint64 stall = meter.stop();
    std::printf("slowest keystroke %.1f ms; longest event-loop stall while typing %lld ms\n", worst, stall);
    window.quitForReal();
    vurnSettings::setStateDirectoryOverride(QString());
    return 0;
}
