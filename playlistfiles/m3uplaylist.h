#pragma once

#include "playlistfiles/playlistformat.h"

// M3U and M3U8: one entry a line; the #EXTM3U and #EXTINF directives are
// passed over, as the tags come from the files. Written as M3U8, with #EXTINF
// lines.
class m3uPlaylist : public playlistFormat
{
public:
    void read(const QString &path, const QByteArray &bytes, playlistReading &reading) const override;
    QByteArray write(const QString &folder, const QList<storedTrack> &tracks) const override;
};
