#pragma once

#include "library/musicinfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The named playlists: one INI file per name in "playlists/" (the layout of
// the state file's playlist groups, so that earlier versions' files load).
// Names are file names: nothing a name holds may lead outside the folder.
class playlistStore
{
public:
    static QString folder();
    static QString filePath(const QString &name);
    // The saved names in natural order ("2" before "10"); hidden files, and
    // the list set aside for an alarm, are not among them.
    static QStringList names();
    // Empty for a usable name, else why it cannot be one.
    static QString nameProblem(const QString &name);
    static bool exists(const QString &name);
    // `forShow` also takes the kept tags of unstamped entries (older files).
    static QList<storedTrack> entries(const QString &name, bool forShow = false);
    // Replaces the whole file (no entries of an earlier, longer list remain).
    static bool save(const QString &name, const QList<storedTrack> &tracks);
    static bool remove(const QString &name);
    static bool rename(const QString &from, const QString &to);

    // The list the latest replacement took away (see setAsideList), and the
    // file earlier versions kept the list an alarm replaced in.
    static const QString &setAsideName();
    static const QString &asideName();
    // Written with the list: short notes under the given keys ("Group/key").
    static bool save(const QString &name, const QList<storedTrack> &tracks, const QVariantMap &notes);
    static QVariantMap notes(const QString &name, const QStringList &keys);

    static QList<storedTrack> toStored(const QList<musicInfo *> &tracks);
};
