// The playlist groups "0", "1", ... of the state file and the saved playlists.
#include "settings/vurnsettings.h"

#include "engine/musicinfo.h"

#include <QSettings>

#include <climits>

QStringList vurnSettings::loadPlayList() const
{
    QStringList files;
    if (!store)
        return files;
    // The first group without a File ends the list; later groups are not read.
    for (int i = 0;; ++i) {
        store->beginGroup(QString::number(i));
        const QString file = stringValue(QStringLiteral("File"));
        store->endGroup();
        if (file.isEmpty())
            break;
        files.append(file);
    }
    return files;
}

QList<storedTrack> vurnSettings::loadPlayListEntries(bool forShow) const
{
    QList<storedTrack> entries;
    if (!store)
        return entries;
    // Anything unusable reads as "not recorded": that track's file is read again.
    auto number = [this](const QString &key) {
        bool ok = false;
        const qint64 value = stringValue(key).trimmed().toLongLong(&ok, 10);
        return ok && value >= 0 ? value : qint64(-1);
    };
    for (int i = 0;; ++i) {
        store->beginGroup(QString::number(i));
        storedTrack entry;
        entry.file = stringValue(QStringLiteral("File"));
        // The kept values only matter with both stamps; a file saved before
        // them costs no more lookups than the file name.
        const bool stamped = !entry.file.isEmpty() && (entry.size = number(QStringLiteral("Size"))) >= 0
            && (entry.modified = number(QStringLiteral("Modified"))) >= 0;
        if (stamped || (forShow && !entry.file.isEmpty())) {
            entry.title = stringValue(QStringLiteral("Title"));
            entry.artist = stringValue(QStringLiteral("Artist"));
            entry.album = stringValue(QStringLiteral("Album"));
            entry.year = stringValue(QStringLiteral("Year"));
            entry.lengthMsec = number(QStringLiteral("Time"));
        }
        store->endGroup();
        if (entry.file.isEmpty())
            break;
        entries.append(entry);
    }
    return entries;
}

void vurnSettings::savePlayList(const QList<musicInfo *> &tracks)
{
    QList<storedTrack> stored;
    stored.reserve(tracks.size());
    for (const musicInfo *track : tracks) {
        if (track)
            stored << track->toStored();
    }
    savePlayList(stored);
}

void vurnSettings::savePlayList(const QList<storedTrack> &tracks)
{
    if (!store)
        return;
    int i = 0;
    for (const storedTrack &track : tracks) {
        store->beginGroup(QString::number(i));
        store->setValue(QStringLiteral("File"), track.file);
        store->setValue(QStringLiteral("Time"), uint(qBound<qint64>(0, track.lengthMsec, INT_MAX)));
        store->setValue(QStringLiteral("Title"), track.title);
        store->setValue(QStringLiteral("Artist"), track.artist);
        store->setValue(QStringLiteral("Album"), track.album);
        store->setValue(QStringLiteral("Year"), track.year);
        // Stamps of the file as it was read: an unchanged file is not read again at start-up.
        if (track.size >= 0 && track.modified >= 0) {
            store->setValue(QStringLiteral("Size"), track.size);
            store->setValue(QStringLiteral("Modified"), track.modified);
        }
        store->endGroup();
        ++i;
    }
}

void vurnSettings::closeUnchanged()
{
    delete store;
    store = nullptr;
}
