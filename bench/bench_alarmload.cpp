// How soon an alarm plays after its minute while a large list is read, against
// the same alarm with nothing loading, in the same run. Each start runs in a
// fresh process of this program, with the alarm's minute faked to come a few
// seconds after the window shows:
//   - baseline: a 20-track list, nothing loading;
//   - start-up: a state file naming the tracks without stamps (every file read);
//   - add: the same tracks added to a 20-track list, the progress box open.
// The tracks are hard links to a few copies of one 5-second MP3 (the tags are
// still read for every path). The figure is the time from the minute to the playing state,
// median of three; the alarm check runs once a second, so up to a second of
// it is the check's own. Usage:
//   bench_alarmload [tracks]   (default 100000)
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "app/mainwindow.h"
#include "player/musicplay.h"
#include "playlist/playlist.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "stallmeter.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>


#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const int leadMsec = 3000; // from the window shown (or the add started) to the minute

QStringList makeLinks(const QString &root, int count)
{
    AudioFixtures fixtures;
    const QString seed = fixtures.make(QStringLiteral("seed.mp3"), 5000);
    if (seed.isEmpty() || !QDir().mkpath(root))
        return {};
    QStringList files;
    QString kept;
    for (int i = 0; i < count; ++i) {
        // A file may have only so many links: a copy of the seed per 10,000.
        if (i % 10000 == 0) {
            kept = root + QStringLiteral("/seed%1.mp3").arg(i / 10000);
            if (!QFileInfo::exists(kept) && !QFile::copy(seed, kept))
                return {};
        }
        const QString folder = root + QStringLiteral("/%1").arg(i / 1000);
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/%1 Song.mp3").arg(i);
        if (!QFileInfo::exists(path) && ::link(QFile::encodeName(kept).constData(), QFile::encodeName(path).constData()) != 0)
            return {};
        files << path;
    }
    return files;
}

bool writeUnstamped(const QString &stateDir, const QStringList &files)
{
    QDir().mkpath(stateDir);
    QFile ini(stateDir + QStringLiteral("/Vurn.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&ini);
    out.setCodec("UTF-8");
    out << "[General]\nVolume=40\nRepeatMode=全曲リピート(>>)\n";
    for (int i = 0; i < files.size(); ++i)
        out << "\n[" << i << "]\nFile=" << files.at(i) << "\n";
    return true;
}

// One run in this process; prints key=value lines.
int runChild(const QString &mode, const QString &stateDir, const QStringList &adding)
{
    vurnSettings::setStateDirectoryOverride(stateDir);
    QElapsedTimer clock;
    clock.start();
    qint64 minuteAt = -1; // on `clock`
    const QDateTime today = QDateTime::currentDateTime();
    const QDateTime fakeMinute(today.date(), QTime(12, 0));
    qint64 offset = 0;
    alarmClock::setSource([&] { return QDateTime::currentDateTime().addMSecs(offset); });
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::printf("note=window not exposed\n");
    window->ringer->toneDelayMsec = 600000;
    window->setWin->setAlarmList(makeAlarmList(
        window.get(), {{"12:00", QString::number(today.date().dayOfWeek() - 1), "全曲リピート(>>)"}}));
    window->setWin->setAlarmEnabled(true);

    qint64 playingAt = -1;
    int rowsAtPlaying = -1;
    bool busyAtPlaying = false;
    QObject::connect(window->core->player, &musicPlay::stateChanged, [&](musicPlay::State state) {
        if (state != musicPlay::State::Playing || playingAt >= 0)
            return;
        playingAt = clock.elapsed();
        rowsAtPlaying = window->core->playlist->size();
        busyAtPlaying = window->loader->isBusy();
    });
    if (mode == QLatin1String("add"))
        window->loader->addFiles(adding);
    // The minute comes leadMsec from now on the faked clock.
    minuteAt = clock.elapsed() + leadMsec;
    offset = QDateTime::currentDateTime().msecsTo(fakeMinute) - leadMsec;
    StallMeter stalls;
    stalls.start();
    while (playingAt < 0 && clock.elapsed() < minuteAt + 60000)
        QTest::qWait(5);
    std::printf("stall=%lld\n", stalls.stop());
    std::printf("latency=%lld\n", playingAt < 0 ? -1 : playingAt - minuteAt);
    std::printf("rows=%d\n", rowsAtPlaying);
    std::printf("busy=%d\n", int(busyAtPlaying));
    std::fflush(stdout);
    // Nothing of this run is kept: no saving, no waiting for the rest.
    _exit(0);
}

QMap<QString, QString> runStart(const QString &mode, const QString &stateDir, const QString &addList)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, stateDir, addList});
    child.waitForFinished(-1);
    QMap<QString, QString> values;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            values.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return values;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--child")) {
        QStringList adding;
        QFile list(args.value(4));
        if (!args.value(4).isEmpty() && list.open(QIODevice::ReadOnly))
            adding = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return runChild(args.value(2), args.value(3), adding);
    }

    const int count = args.size() > 1 ? args.at(1).toInt() : 100000;
    QTemporaryDir temporary;
    const QString root = temporary.path();
    const QStringList files = makeLinks(root + QStringLiteral("/library"), count);
    if (files.size() != count)
        return 1;
    const QString small = root + QStringLiteral("/small");
    const QString addList = root + QStringLiteral("/adding.txt");
    QFile list(addList);
    if (!list.open(QIODevice::WriteOnly) || list.write(files.join(QLatin1Char('\n')).toUtf8()) < 0)
        return 1;
    list.close();
    const QString big = root + QStringLiteral("/big");

    struct Scenario {
        const char *name;
        const char *mode;
        QString state;
    };
    const Scenario scenarios[] = {
        {"baseline, nothing loading", "plain", small},
        {"start-up, nothing stamped", "plain", big},
        {"large add, progress box open", "add", small},
    };
    std::printf("| alarm's minute to playing (median of 3) | ms | rows in | still loading | longest stall |\n"
                "|---|---|---|---|---|\n");
    for (const Scenario &scenario : scenarios) {
        QVector<QMap<QString, QString>> runs;
        for (int round = 0; round < 3; ++round) {
            if (!writeUnstamped(small, files.mid(0, 20)) || !writeUnstamped(big, files))
                return 1;
            runs << runStart(QLatin1String(scenario.mode), scenario.state,
                             QLatin1String(scenario.mode) == QLatin1String("add") ? addList : QString());
        }
        std::sort(runs.begin(), runs.end(), [](const QMap<QString, QString> &a, const QMap<QString, QString> &b) {
            return a.value(QStringLiteral("latency")).toDouble() < b.value(QStringLiteral("latency")).toDouble();
        });
        const auto &median = runs.at(1);
        std::printf("| %s, %d tracks | %s (%s, %s) | %s | %s | %s ms |\n", scenario.name,
                    scenario.state == big || QLatin1String(scenario.mode) == QLatin1String("add") ? count : 20,
                    qPrintable(median.value(QStringLiteral("latency"))),
                    qPrintable(runs.at(0).value(QStringLiteral("latency"))),
                    qPrintable(runs.at(2).value(QStringLiteral("latency"))),
                    qPrintable(median.value(QStringLiteral("rows"))),
                    median.value(QStringLiteral("busy")) == QLatin1String("1") ? "yes" : "no",
                    qPrintable(median.value(QStringLiteral("stall"))));
    }
    return 0;
}
