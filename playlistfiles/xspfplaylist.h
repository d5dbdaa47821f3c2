#pragma once

#include "playlistfiles/playlistformat.h"

// XSPF: each track's first location, a URI relative to the playlist or
// absolute. Written with the tags the player keeps.
class xspfPlaylist : public playlistFormat
{
public:
    void read(const QString &path, const QByteArray &bytes, playlistReading &reading) const override;
    QByteArray write(const QString &folder, const QList<storedTrack> &tracks) const override;
};
