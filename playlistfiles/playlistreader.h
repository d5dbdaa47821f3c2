#pragma once

#include "library/loadreport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Playlist files other players write: M3U and M3U8, PLS and XSPF. Reading
// one yields the audio files it names, in order; entries that cannot be
// added (missing, a folder or device, another playlist, the playlist itself,
// a URL of a scheme other than file) are skipped and reported.
class playlistReader
{
public:
    struct Reading
    {
        QStringList files;  // absolute paths of regular files, in order
        loadReport skipped; // the entries left out, with why
        bool opened = false;
    };

    // By the name's suffix: .m3u, .m3u8, .pls, .xspf.
    static bool isPlaylistFile(const QString &path);
    static Reading read(const QString &path);
    // Paths named by the user with every playlist file among them replaced by
    // the files it names (folders and other files pass through unchanged).
    static QStringList expand(const QStringList &paths, loadReport &skipped);

    // Text of an M3U or PLS file: UTF-8 when it is valid UTF-8 (a BOM is
    // dropped), else the locale's encoding when that is not UTF-8, else Latin-1.
    static QString decode(const QByteArray &bytes);

private:
    static void readLines(const QString &path, const QString &text, bool pls, Reading &reading);
    static void readXspf(const QString &path, const QByteArray &bytes, Reading &reading);
    // An entry as written in the playlist, resolved against its folder.
    static void addEntry(const QString &playlist, const QString &entry, Reading &reading);
};
