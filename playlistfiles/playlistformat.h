#pragma once

#include "library/loadreport.h"
#include "library/musicinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What reading a playlist file yields.
struct playlistReading
{
    QStringList files;  // absolute paths of regular files, in order
    loadReport skipped; // the entries left out, with why
    bool opened = false;
};

// One kind of playlist file other players write. Each kind reads its own
// text; the rules for an entry (resolved against the playlist's folder, or
// skipped with the reason) and for naming a track are common to all.
class playlistFormat
{
public:
    virtual ~playlistFormat() = default;

    // The entries of a playlist file's bytes, added to `reading` in order.
    virtual void read(const QString &path, const QByteArray &bytes, playlistReading &reading) const = 0;
    // The file's bytes for `tracks`, as named from `folder`; a kind that is
    // only read writes nothing.
    virtual QByteArray write(const QString &folder, const QList<storedTrack> &tracks) const;

    // By the name's suffix: .m3u, .m3u8, .pls, .xspf.
    static bool isPlaylistFile(const QString &path);
    // Text of an M3U or PLS file: UTF-8 when it is valid UTF-8 (a BOM is
    // dropped), else the locale's encoding when that is not UTF-8, else Latin-1.
    static QString decode(const QByteArray &bytes);
    // The path as a playlist in `folder` should name it: relative where the
    // file lies under the folder, absolute otherwise.
    static QString relativeIfUnder(const QString &folder, const QString &file);

protected:
    // An entry as written in the playlist, resolved against its folder.
    static void addEntry(const QString &playlist, const QString &entry, playlistReading &reading);
};
