#include "alarm/alarmplaylist.h"

#include "storage/playliststore.h"
#include "storage/storedchoice.h"

#include <QFileInfo>
#include <QObject>

alarmPlaylist::Choice alarmPlaylist::choose(const QString &name)
{
    Choice choice;
    if (name.isEmpty() || name == storedChoice::standardPlayList())
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
