#pragma once

#include "library/musicinfo.h"

#include <QList>
#include <QString>

// Writes a playlist for other players: XSPF when the name ends in .xspf,
// M3U8 otherwise, with paths relative to the playlist's folder where the
// tracks lie under it and absolute otherwise. The file is replaced whole or
// not at all.
class playlistWriter
{
public:
    static bool write(const QString &path, const QList<storedTrack> &tracks);
};
