// Saving (with the flush to disk) and loading a 10,000-track playlist and 100 alarms.
#include "alarm/alarmlist.h"
#include "alarm/alarmliststore.h"
#include "alarm/alarmone.h"
#include "library/musicinfo.h"
#include "storage/vurnsettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

double ms(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int trackCount = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int alarmCount = argc > 2 ? QByteArray(argv[2]).toInt() : 100;
    const int rounds = 5;

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    vurnSettings::setStateDirectoryOverride(dir.path());

    QObject owner;
    QList<musicInfo *> tracks;
    for (int i = 0; i < trackCount; ++i) {
        auto *track = new musicInfo(&owner);
        track->filePath = QStringLiteral("/home/ユーザー/音楽/アルバム %1/%2 曲名.flac").arg(i / 12).arg(i);
        track->title = QStringLiteral("曲名 %1").arg(i);
        track->artist = QStringLiteral("歌手 %1").arg(i % 300);
        track->album = QStringLiteral("アルバム %1").arg(i / 12);
        track->lengthMsec = 180000 + i;
        tracks << track;
    }
    alarmList alarms;
    for (int i = 0; i < alarmCount; ++i) {
        auto *alarm = new alarmOne(&alarms);
        alarm->enabled = i % 3 != 0;
        alarm->hour = QStringLiteral("%1").arg(i % 24, 2, 10, QLatin1Char('0'));
        alarm->minute = QStringLiteral("%1").arg(i % 60, 2, 10, QLatin1Char('0'));
        for (int d = 0; d < 7; ++d)
            alarm->week[d] = (i + d) % 2 == 0;
        alarm->playListName = QStringLiteral("標準プレイリスト");
        alarm->playMode = QStringLiteral("シャッフル");
        alarm->volume = QStringLiteral("50");
        alarm->volumeControl = QStringLiteral("フェードイン：5分");
        alarms.append(alarm);
    }

    QList<double> saveTimes;
    QList<double> loadTimes;
    int loadedTracks = 0;
    int loadedAlarms = 0;
    for (int round = 0; round < rounds; ++round) {
        // The close of the main window: one open object, cleared, written, flushed.
        {
            vurnSettings settings;
            QString name = QStringLiteral("Vurn");
            settings.openFile(name);
            QElapsedTimer timer;
            timer.start();
            settings.clearAll();
            settings.saveRepeatMode(QStringLiteral("シャッフル"));
            settings.saveVolume(55);
            alarmListStore::save(settings, &alarms);
            settings.saveAlarmEnable(true);
            settings.savePlayList(tracks);
            settings.saveWindowLayout(QByteArray(66, 'g'), QByteArray(120, 's'));
            settings.sync();
            saveTimes << ms(timer);
        }
        // The start: open and read everything once.
        {
            QElapsedTimer timer;
            timer.start();
            vurnSettings settings;
            QString name = QStringLiteral("Vurn");
            settings.openFile(name);
            settings.loadRepeatMode();
            settings.loadVolume();
            std::unique_ptr<alarmList> loaded(alarmListStore::load(settings));
            settings.loadAlarmEnable();
            const QStringList files = settings.loadPlayList();
            settings.loadGeometry();
            settings.loadWindowState();
            loadTimes << ms(timer);
            loadedTracks = files.size();
            loadedAlarms = loaded->size();
        }
    }

    const qint64 bytes = QFileInfo(dir.filePath(QStringLiteral("Vurn.ini"))).size();
    std::printf("settings: %d tracks, %d alarms, file %.1f MiB, %d rounds\n", trackCount, alarmCount,
                bytes / 1048576.0, rounds);
    std::printf("  save + sync: median %.1f ms (first %.1f ms)\n", median(saveTimes), saveTimes.value(0));
    std::printf("  open + load: median %.1f ms (first %.1f ms), read back %d tracks, %d alarms\n",
                median(loadTimes), loadTimes.value(0), loadedTracks, loadedAlarms);
    return loadedTracks == trackCount && loadedAlarms == alarmCount ? 0 : 2;
}
