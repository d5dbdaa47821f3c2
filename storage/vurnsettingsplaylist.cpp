// The playlist groups "0", "1", ... of the state file and the saved playlists.
// They are read and written as text beside QSettings (see stateFile): a
// library of many thousand tracks would otherwise be held and written key by
// key.
#include "storage/vurnsettings.h"

#include "library/musicinfo.h"
#include "storage/statefile.h"

#include <QFile>
#include <QSettings>

QStringList vurnSettings::loadPlayList() const
{
    QStringList files;
    for (const storedTrack &entry : loadPlayListEntries())
        files.append(entry.file);
    return files;
}

QList<storedTrack> vurnSettings::loadPlayListEntries(bool forShow) const
{
    if (!store)
        return {};
    // A playlist saved but not written yet is the one that counts.
    if (hasPendingPlaylist)
        return stateFile::readPlaylist(pendingPlaylist, forShow);
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return stateFile::readPlaylist(file.readAll(), forShow);
}

std::function<QList<storedTrack>()> vurnSettings::playListReader() const
{
    if (!store)
        return [] { return QList<storedTrack>(); };
    if (hasPendingPlaylist) {
        const QByteArray text = pendingPlaylist;
        return [text] { return stateFile::readPlaylist(text, false); };
    }
    const QString path = filePath;
    return [path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? stateFile::readPlaylist(file.readAll(), false)
                                              : QList<storedTrack>();
    };
}

void vurnSettings::savePlayList(const QList<musicInfo *> &tracks)
{
    if (!store)
        return;
    setPendingPlaylist(stateFile::playlistText(tracks), tracks.size());
}

void vurnSettings::savePlayList(const QList<storedTrack> &tracks)
{
    if (!store)
        return;
    setPendingPlaylist(stateFile::playlistText(tracks), tracks.size());
}

void vurnSettings::setPendingPlaylist(const QByteArray &text, int count)
{
    QByteArray later;
    if (!hasPendingPlaylist) {
        // Without clearAll, groups beyond the new list stay as the file has them.
        QFile file(filePath);
        if (file.open(QIODevice::ReadOnly))
            later = stateFile::groupsText(file.readAll(), count);
    }
    pendingPlaylist = text;
    if (!later.isEmpty()) {
        if (!pendingPlaylist.isEmpty())
            pendingPlaylist += '\n';
        pendingPlaylist += later;
    }
    hasPendingPlaylist = true;
}

void vurnSettings::closeUnchanged()
{
    delete store;
    store = nullptr;
    hasPendingPlaylist = false;
    pendingPlaylist.clear();
}
