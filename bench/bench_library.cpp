// A 10,000-track library as people keep one (artist/album folders of ID3v2
// MP3s with a cover, a rip log and a cue sheet beside each album's tracks):
// adding it through the drop path, start-up with its saved state, warm and
// cold, the longest stall of the event loop during each, against a bare
// single-threaded TagLib loop over the same files.
#include "app/mainwindow.h"
#include "stallmeter.h"
#include "engine/trackloader.h"
#include "settings/vurnsettings.h"
#include "support/audiofixtures.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <taglib/fileref.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

bool dropCaches()
{
    ::sync();
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2;
}

double bareLoop(const QStringList &files)
{
    QElapsedTimer clock;
    clock.start();
    qint64 seconds = 0;
    for (const QString &file : files) {
        TagLib::FileRef ref(QFile::encodeName(file).constData(), true, TagLib::AudioProperties::Average);
        if (!ref.isNull() && ref.audioProperties() && ref.tag())
            seconds += ref.audioProperties()->lengthInSeconds() + ref.tag()->title().size();
    }
    const double msec = clock.nsecsElapsed() / 1e6;
    return seconds >= 0 ? msec : -1;
}

void waitIdle(MainWindow &window)
{
    while (window.loader->isBusy())
        QTest::qWait(5);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    AudioFixtures fixtures;
    QFile seedFile(fixtures.make(QStringLiteral("seed.mp3"), 3000));
    if (!seedFile.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray seed = seedFile.readAll();
    QStringList files;
    QStringList artists;
    for (int i = 0; i < count; ++i) {
        const int artist = i / 500, album = (i / 20) % 25, track = i % 20;
        const QString folder = fixtures.path(QStringLiteral("lib/Artist %1/Album %2").arg(artist).arg(album));
        if (track == 0) {
            QDir().mkpath(folder);
            for (const char *extra : {"cover.jpg", "rip.log", "album.cue"}) {
                QFile side(folder + QLatin1Char('/') + QLatin1String(extra));
                if (side.open(QIODevice::WriteOnly))
                    side.write("not audio\n");
            }
        }
        if (i % 500 == 0)
            artists << fixtures.path(QStringLiteral("lib/Artist %1").arg(artist));
        const QString path = folder + QStringLiteral("/%1 Song.mp3").arg(track + 1, 2, 10, QLatin1Char('0'));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(seed) != seed.size())
            return 1;
        out.close();
        AudioFixtures::writeTags(path, TrackTags{QStringLiteral("Song %1").arg(i), QStringLiteral("Artist %1").arg(artist),
                                                 QStringLiteral("Album %1").arg(album), 2000u + unsigned(album)});
        files << path;
    }

    double warmRuns[3] = {bareLoop(files), bareLoop(files), bareLoop(files)};
    std::sort(warmRuns, warmRuns + 3);
    const double bareWarm = warmRuns[1];
    const bool canDrop = dropCaches();
    const double bareCold = canDrop ? bareLoop(files) : -1;

    QTemporaryDir stateDir;
    vurnSettings::setStateDirectoryOverride(stateDir.path());
    StallMeter stalls;
    double dropMsec = 0;
    qint64 dropStall = 0;
    int droppedRows = 0;
    {
        MainWindow window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::printf("library: window not exposed\n");
        bareLoop(files); // warm again after the window's own start
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &artist : artists)
            urls << QUrl::fromLocalFile(artist);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        stalls.start();
        QElapsedTimer clock;
        clock.start();
        QApplication::sendEvent(&window, &drop);
        waitIdle(window);
        dropMsec = clock.nsecsElapsed() / 1e6;
        dropStall = stalls.stop();
        droppedRows = window.findChild<QTableWidget *>(QStringLiteral("playListTable"))->rowCount();
        window.close(); // saves the state with its stamps
    }
    auto startUp = [&](double &shown, double &complete, qint64 &stall) {
        QElapsedTimer clock;
        clock.start();
        stalls.start();
        MainWindow window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::printf("library: window not exposed\n");
        shown = clock.nsecsElapsed() / 1e6;
        waitIdle(window);
        complete = clock.nsecsElapsed() / 1e6;
        stall = stalls.stop();
        window.close();
    };
    double warmShown = 0, warmDone = 0, coldShown = 0, coldDone = 0;
    qint64 warmStall = 0, coldStall = 0;
    startUp(warmShown, warmDone, warmStall);
    if (canDrop) {
        dropCaches();
        startUp(coldShown, coldDone, coldStall);
    }

    std::printf("library: %d ID3v2 MP3s in artist/album folders, %d rows after the drop\n", count, droppedRows);
    std::printf("library: bare TagLib loop warm %.0f ms, cold %s\n", bareWarm,
                canDrop ? qPrintable(QString::number(bareCold, 'f', 0) + QStringLiteral(" ms")) : "not measured (cannot drop the page cache)");
    std::printf("library: drop, warm: %.0f ms (%.2fx the warm loop), longest stall %lld ms\n", dropMsec,
                dropMsec / bareWarm, dropStall);
    std::printf("library: start-up, warm: window shown %.0f ms, all rows %.0f ms (%.2fx the warm loop), "
                "longest stall %lld ms\n", warmShown, warmDone, warmDone / bareWarm, warmStall);
    if (canDrop)
        std::printf("library: start-up, cold: window shown %.0f ms (%.2fx the cold loop), all rows %.0f ms, "
                    "longest stall %lld ms\n", coldShown, coldShown / bareCold, coldDone, coldStall);
    return 0;
}
