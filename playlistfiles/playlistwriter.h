#pragma once

#include "library/musicinfo.h"

#include <QList>
#include <QString>

// Writes a playlist for other players: M3U8 or XSPF, with paths relative to
// the playlist's folder where the tracks lie under it and absolute otherwise.
// The file is replaced whole or not at all.
class playlistWriter
{
public:
    enum Format { M3u8, Xspf };
    // By the suffix: .xspf is XSPF, anything else M3U8.
    static Format formatFor(const QString &path);
    static bool write(const QString &path, const QList<storedTrack> &tracks, Format format);
    static bool write(const QString &path, const QList<storedTrack> &tracks);

    static QByteArray m3u8(const QString &folder, const QList<storedTrack> &tracks);
    static QByteArray xspf(const QString &folder, const QList<storedTrack> &tracks);
    // The path as the playlist in `folder` should name it.
    static QString relativeIfUnder(const QString &folder, const QString &file);
};
