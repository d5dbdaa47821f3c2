// Playlist editing at scale: adding 10,000 files (against a bare TagLib read
// loop over the same files), resident memory per track, moving blocks in a
// large table against a small one, and collecting a 10,000-file folder tree.
// Prints figures only.
#include "library/collectfiles.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTableView>
#include <QTest>

#include <taglib/fileref.h>

#include <cstdio>
#include <memory>

namespace {

// Resident set size of this process in KiB, from /proc.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// A controller with its widgets, the table shown as on the main window.
struct Player
{
    QLabel title;
    QAction play{nullptr};
    QLabel time;
    QSlider seek;
    QTableView table;
    vurnCore core;

    Player()
    {
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        table.setSelectionMode(QAbstractItemView::ExtendedSelection);
        core.setWidgets(&title, &play, &time, &seek, &table);
        table.resize(400, 600);
        table.show();
    }
};

double timeMoveToTop(Player &player, int top, int bottom)
{
    QElapsedTimer timer;
    timer.start();
    player.core.moveSelection(0, {RowRange(top, 0, 1, bottom)});
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    if (count < 1000) {
        std::fprintf(stderr, "need at least 1000 tracks\n");
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    AudioFixtures fixtures;
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << fixtures.makeTinyWav(
            QStringLiteral("lib/%1/%2/t%3.wav").arg(i / 1000).arg(i / 100 % 10).arg(i), 1000,
            TrackTags{QStringLiteral("Track %1").arg(i), QStringLiteral("Artist"), {}, 0});
    }
    std::printf("generated %d files in %.0f ms\n", count, timer.nsecsElapsed() / 1e6);

    // Warm the file cache so both runs read from memory.
    for (const QString &file : qAsConst(files))
        TagLib::FileRef(QFile::encodeName(file).constData(), true, TagLib::AudioProperties::Average);

    timer.restart();
    qint64 seconds = 0;
    for (const QString &file : qAsConst(files)) {
        TagLib::FileRef ref(QFile::encodeName(file).constData(), true,
                            TagLib::AudioProperties::Average);
        if (!ref.isNull() && ref.audioProperties() && ref.tag())
            seconds += ref.audioProperties()->lengthInSeconds();
    }
    const double bare = timer.nsecsElapsed() / 1e6;

    auto big = std::make_unique<Player>();
    QCoreApplication::processEvents();
    const long before = residentKiB();
    timer.restart();
    big->core.addFiles(files);
    QCoreApplication::processEvents();
    const double added = timer.nsecsElapsed() / 1e6;
    const long after = residentKiB();
    std::printf("addFiles: %d tracks (%s rows) in %.0f ms; bare TagLib loop %.0f ms (%lld s of "
                "audio); ratio %.2f\n",
                big->table.model()->rowCount(), qPrintable(big->core.countText), added, bare,
                static_cast<long long>(seconds), added / bare);
    std::printf("memory: %.0f bytes resident per track (%ld KiB for %d tracks)\n",
                (after - before) * 1024.0 / count, after - before, count);

    // The playlist alone, without a table, to show what the rows cost (after
    // the memory figure, so that its heap is not reused there).
    {
        vurnCore bare;
        timer.restart();
        bare.addFiles(files);
        std::printf("addFiles without a table: %.0f ms\n", timer.nsecsElapsed() / 1e6);
    }

    // Half the table as one block, against the same shape at a tenth of the size.
    auto small = std::make_unique<Player>();
    small->core.addFiles(files.mid(0, count / 10));
    const double smallMove = timeMoveToTop(*small, count / 40, count / 40 + count / 20 - 1);
    const double bigMove = timeMoveToTop(*big, count / 4, count / 4 + count / 2 - 1);
    std::printf("moveSelection: %d-row block of %d rows %.1f ms; %d-row block of %d rows %.1f ms; "
                "ratio %.1f\n",
                count / 2, count, bigMove, count / 20, count / 10, smallMove,
                bigMove / qMax(smallMove, 0.001));
    timer.restart();
    big->core.moveSelection(count, {RowRange(0, 0, 1, 0), RowRange(2, 0, 1, count / 2)});
    std::printf("moveSelection: two blocks to the bottom of %d rows %.1f ms\n", count,
                timer.nsecsElapsed() / 1e6);
    timer.restart();
    big->core.removeTracks(count / 4, count / 4 + count / 2 - 1);
    std::printf("removeTracks: %d rows in %.1f ms\n", count / 2, timer.nsecsElapsed() / 1e6);

    timer.restart();
    const QStringList collected = collectFiles({fixtures.path(QStringLiteral("lib"))});
    std::printf("collectFiles: %d files from %d folders in %.0f ms\n", int(collected.size()),
                count / 100 + count / 1000, timer.nsecsElapsed() / 1e6);
    return 0;
}
