// A library as people keep one (artist/album folders of one-second ID3v2 MP3s
// with a cover, a rip log and a cue sheet beside each album's tracks), against
// a bare single-threaded TagLib loop over the same files in the same run.
//
// Each start runs in a fresh process of this program, so its memory is its
// own: the empty player; a first start from a state file that names the files
// without stamps (every file read); two starts from the player's own state;
// then the table commands on the whole library. Usage:
//   bench_library [tracks]   (default 10000)
#include "app/mainwindow.h"
#include "stallmeter.h"
#include "playlist/trackloader.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QVector>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

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

long rssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Lets the event loop settle so memory freed late (deleteLater) is counted.
void settle(int msec)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < msec)
        QTest::qWait(10);
}

// One start of the player in this process; prints key=value lines.
int runChild(const QString &mode, const QString &stateDir, QElapsedTimer &sinceStart)
{
    vurnSettings::setStateDirectoryOverride(stateDir);
    StallMeter stalls;
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::printf("note=window not exposed\n");
    std::printf("shown=%.1f\n", sinceStart.nsecsElapsed() / 1e6);
    // From here the event loop runs: the rows arrive while it must keep turning.
    stalls.start();
    while (window->loader->isBusy())
        QTest::qWait(2);
    std::printf("rows_in=%.1f\n", sinceStart.nsecsElapsed() / 1e6);
    std::printf("start_stall=%lld\n", stalls.stop());
    QTableView *table = window->findChild<QTableView *>(QStringLiteral("playListTable"));
    std::printf("rows=%d\n", table->model()->rowCount());
    settle(300);
    std::printf("rss=%ld\n", rssKb());

    if (mode == QLatin1String("ops")) {
        auto measure = [&](const char *name, const std::function<void()> &work) {
            stalls.start();
            work();
            settle(150);
            std::printf("%s=%lld\n", name, stalls.stop());
        };
        const int rows = table->model()->rowCount();
        measure("scroll_stall", [&] {
            QScrollBar *bar = table->verticalScrollBar();
            for (int step = 0; step < 40; ++step) {
                bar->setValue(bar->maximum() * step / 40);
                QTest::qWait(5);
            }
            table->scrollToBottom();
        });
        measure("select_all_stall", [&] { table->selectAll(); });
        measure("move_stall", [&] {
            table->clearSelection();
            table->selectionModel()->select(
                QItemSelection(table->model()->index(0, 0), table->model()->index(rows / 2 - 1, 1)),
                QItemSelectionModel::Select);
            window->findChild<QAction *>(QStringLiteral("actionBottom"))->trigger();
        });
        measure("find_stall", [&] {
            window->findChild<QAction *>(QStringLiteral("actionFind"))->trigger();
            QLineEdit *field = window->findChild<QLineEdit *>(QStringLiteral("findField"));
            for (const char *key : {"S", "o", "n", "g", " ", "7"}) {
                QTest::keyClicks(field, QString::fromLatin1(key));
                QTest::qWait(30);
            }
            settle(400);
            QTest::keyClick(field, Qt::Key_Escape);
        });
        measure("delete_half_stall", [&] {
            table->clearSelection();
            table->selectionModel()->select(
                QItemSelection(table->model()->index(0, 0), table->model()->index(rows / 2 - 1, 1)),
                QItemSelectionModel::Select);
            window->findChild<QAction *>(QStringLiteral("actionDel"))->trigger();
        });
        std::printf("rows_after=%d\n", table->model()->rowCount());
    }

    stalls.start();
    QElapsedTimer closing;
    closing.start();
    window->close();
    std::printf("close=%.1f\n", closing.nsecsElapsed() / 1e6);
    std::printf("close_stall=%lld\n", stalls.stop());
    return 0;
}

QMap<QString, QString> runStart(const QString &mode, const QString &stateDir)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, stateDir});
    child.waitForFinished(-1);
    QMap<QString, QString> values;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            values.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    if (values.contains(QStringLiteral("note")))
        std::printf("library: %s\n", qPrintable(values.value(QStringLiteral("note"))));
    return values;
}

QStringList makeLibrary(const QString &root, int count)
{
    AudioFixtures fixtures;
    const QString seedPath = fixtures.make(QStringLiteral("seed.mp3"), 1000);
    QFile seedFile(seedPath);
    if (!seedFile.open(QIODevice::ReadOnly))
        return {};
    const QByteArray seed = seedFile.readAll();
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const int artist = i / 500, album = (i / 20) % 25, track = i % 20;
        const QString folder = root + QStringLiteral("/Artist %1/Album %2").arg(artist).arg(album);
        if (track == 0) {
            QDir().mkpath(folder);
            for (const char *extra : {"cover.jpg", "rip.log", "album.cue"}) {
                QFile side(folder + QLatin1Char('/') + QLatin1String(extra));
                if (side.open(QIODevice::WriteOnly))
                    side.write("not audio\n");
            }
        }
        const QString path = folder + QStringLiteral("/%1 Song.mp3").arg(track + 1, 2, 10, QLatin1Char('0'));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(seed) != seed.size())
            return {};
        out.close();
        AudioFixtures::writeTags(path, TrackTags{QStringLiteral("Song %1").arg(i), QStringLiteral("Artist %1").arg(artist),
                                                 QStringLiteral("Album %1").arg(album), 2000u + unsigned(album)});
        files << path;
    }
    return files;
}

// A state file as an earlier version leaves it: the files, no stamps.
bool writeUnstamped(const QString &stateDir, const QStringList &files)
{
    QFile ini(stateDir + QStringLiteral("/Vurn.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&ini);
    out.setCodec("UTF-8");
    out << "[General]\nVolume=40\n";
    for (int i = 0; i < files.size(); ++i)
        out << "\n[" << i << "]\nFile=" << files.at(i) << "\n";
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--child"))
        return runChild(args.value(2), args.value(3), sinceStart);

    const int count = args.size() > 1 ? args.at(1).toInt() : 10000;
    // VURN_BENCH_LIBRARY=<folder> keeps the library there between runs (for
    // profiling one start: bench_library --child plain <folder>/state).
    const QString kept = qEnvironmentVariable("VURN_BENCH_LIBRARY");
    QTemporaryDir temporary;
    const QString root = kept.isEmpty() ? temporary.path() : kept + QStringLiteral("/%1").arg(count);
    const QString marker = root + QStringLiteral("/files.txt");
    QStringList files;
    QFile list(marker);
    if (!kept.isEmpty() && list.open(QIODevice::ReadOnly))
        files = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (files.size() != count) {
        files = makeLibrary(root + QStringLiteral("/library"), count);
        if (files.size() != count)
            return 1;
        if (list.open(QIODevice::WriteOnly | QIODevice::Truncate))
            list.write(files.join(QLatin1Char('\n')).toUtf8());
    }
    list.close();
    const QString emptyState = root + QStringLiteral("/empty");
    const QString state = root + QStringLiteral("/state");
    QDir(emptyState).removeRecursively();
    QDir().mkpath(emptyState);
    QDir().mkpath(state);
    double warmRuns[3] = {bareLoop(files), bareLoop(files), bareLoop(files)};
    std::sort(warmRuns, warmRuns + 3);
    const double loop = warmRuns[1];

    const auto empty = runStart(QStringLiteral("plain"), emptyState);
    // The first start reads every file on both cores; a busy machine swings
    // it as much as the loop, so it is the median of three, each from the
    // unstamped file.
    QVector<QMap<QString, QString>> firsts;
    for (int round = 0; round < 3; ++round) {
        if (!writeUnstamped(state, files))
            return 1;
        firsts << runStart(QStringLiteral("plain"), state);
    }
    std::sort(firsts.begin(), firsts.end(), [](const QMap<QString, QString> &a, const QMap<QString, QString> &b) {
        return a.value(QStringLiteral("rows_in")).toDouble() < b.value(QStringLiteral("rows_in")).toDouble();
    });
    const auto first = firsts.at(1);
    const auto second = runStart(QStringLiteral("plain"), state);
    const auto third = runStart(QStringLiteral("plain"), state);
    const auto ops = runStart(QStringLiteral("ops"), state);

    auto num = [](const QMap<QString, QString> &run, const char *key) {
        return run.value(QLatin1String(key)).toDouble();
    };
    const double emptyRss = num(empty, "rss");
    auto perTrack = [&](const QMap<QString, QString> &run) {
        return (num(run, "rss") - emptyRss) * 1024.0 / count;
    };
    std::printf("library: %d one-second ID3v2 MP3s in artist/album folders, %d rows in\n", count,
                int(num(second, "rows")));
    std::printf("| what | %d tracks |\n|---|---|\n", count);
    std::printf("| bare TagLib loop, warm | %.0f ms |\n", loop);
    std::printf("| first start, nothing stamped (every file read), all rows in | %.0f ms = %.2fx the loop |\n",
                num(first, "rows_in"), num(first, "rows_in") / loop);
    std::printf("| start from its own state: window shown | %.0f ms (%.0f ms, %.0f ms; empty player %.0f ms) |\n",
                num(second, "shown"), num(third, "shown"), num(ops, "shown"), num(empty, "shown"));
    std::printf("| start from its own state: all rows in | %.0f ms = %.2fx the loop |\n",
                num(second, "rows_in"), num(second, "rows_in") / loop);
    std::printf("| closing (saving the state) | %.0f ms (%.0f ms after an unchanged start) |\n",
                num(first, "close"), num(second, "close"));
    std::printf("| memory above the empty player (%.0f MB), first / later starts | %.0f / %.0f bytes a track |\n",
                emptyRss / 1024, perTrack(first), perTrack(third));
    std::printf("| longest stall: first start / own state / closing | %.0f / %.0f / %.0f ms |\n",
                num(first, "start_stall"), num(second, "start_stall"), num(first, "close_stall"));
    std::printf("| longest stall: scroll / select all / move %d rows / find / delete half | "
                "%.0f / %.0f / %.0f / %.0f / %.0f ms |\n",
                count / 2, num(ops, "scroll_stall"), num(ops, "select_all_stall"), num(ops, "move_stall"),
                num(ops, "find_stall"), num(ops, "delete_half_stall"));
    std::printf("library: rows after deleting half: %.0f\n", num(ops, "rows_after"));
    return 0;
}
