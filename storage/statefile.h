#pragma once

#include <QByteArray>
#include <QList>
#include <QSettings>
#include <QString>

class musicInfo;
struct storedTrack;

// The state files' INI layout with the playlist groups ("0", "1", …) kept
// out of QSettings: a library of 100,000 tracks is 800,000 keys, which
// QSettings holds in memory many times over and writes slowly. QSettings
// handles the other groups through a format of its own whose files read and
// write exactly as its INI format does; the playlist groups are read and
// written here, in the same text.
class stateFile
{
public:
    // The QSettings format for the state files.
    static QSettings::Format format();

    // The entries of the playlist groups of an INI text, in group order up to
    // the first group without a File. Without `forShow`, the kept values of
    // a track without both stamps are not read (its file is read again).
    static QList<storedTrack> readPlaylist(const QByteArray &data, bool forShow);
    // The playlist groups for these tracks, as QSettings writes them.
    static QByteArray playlistText(const QList<storedTrack> &tracks);
    static QByteArray playlistText(const QList<musicInfo *> &tracks);

    // The playlist groups of an INI text numbered `first` or above, as they are.
    static QByteArray groupsText(const QByteArray &data, int first);

    // The playlist text the next write of `path` puts in; without one, a
    // write keeps the playlist groups already in the file.
    static void setPendingPlaylist(const QString &path, const QByteArray &text);
    // True when a write has taken it since it was set.
    static bool pendingTaken(const QString &path);
    // Writes the file whole (the old file or the new one stays, never half of
    // either) from the other groups' values and the pending playlist.
    static bool write(const QString &path, const QSettings::SettingsMap &values);

private:
    static bool readValues(QIODevice &device, QSettings::SettingsMap &values);
    static bool writeValues(QIODevice &device, const QSettings::SettingsMap &values);
};
