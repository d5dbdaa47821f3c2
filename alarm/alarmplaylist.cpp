#include "alarm/alarmplaylist.h"

#include "settings/playliststore.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>

alarmPlaylist::Choice alarmPlaylist::choose(const QString &name)
{
    Choice choice;
    if (name.isEmpty() || name == QObject::tr("標準プレイリスト"))
        return choice;
    const QString fallback = QObject::tr("（いまのプレイリストで鳴らします）");
    if (!playlistStore::exists(name)) {
        choice.note = QObject::tr("プレイリスト「%1」が見つかりません").arg(name) + fallback;
        return choice;
    }
    choice.tracks = playlistStore::entries(name);
    if (choice.tracks.isEmpty()) {
        choice.note = QObject::tr("プレイリスト「%1」は空です").arg(name) + fallback;
        return choice;
    }
    for (const storedTrack &track : qAsConst(choice.tracks)) {
        if (QFileInfo(track.file).isFile()) {
            choice.ownList = true;
            return choice;
        }
    }
    choice.tracks.clear();
    choice.note = QObject::tr("プレイリスト「%1」の曲がどれも見つかりません").arg(name) + fallback;
    return choice;
}

void alarmPlaylist::setAside(const QList<musicInfo *> &tracks, const QList<storedTrack> &stillComing)
{
    if (!hasAside())
        playlistStore::save(playlistStore::asideName(), playlistStore::toStored(tracks) + stillComing);
}

bool alarmPlaylist::hasAside()
{
    return playlistStore::exists(playlistStore::asideName());
}

QList<storedTrack> alarmPlaylist::takeAside()
{
    const QList<storedTrack> tracks = playlistStore::entries(playlistStore::asideName());
    QFile::remove(playlistStore::filePath(playlistStore::asideName()));
    return tracks;
}
