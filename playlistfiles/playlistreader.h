#pragma once

#include "library/loadreport.h"
#include "playlistfiles/playlistformat.h"

#include <QString>
#include <QStringList>

// Playlist files other players write: M3U and M3U8, PLS and XSPF. Reading
// one yields the audio files it names, in order; entries that cannot be
// added (missing, a folder or device, another playlist, the playlist itself,
// a URL of a scheme other than file) are skipped and reported.
class playlistReader
{
public:
    using Reading = playlistReading;

    // By the name's suffix: .m3u, .m3u8, .pls, .xspf.
    static bool isPlaylistFile(const QString &path) { return playlistFormat::isPlaylistFile(path); }
    // By the suffix: .xspf and .pls as such, anything else as M3U.
    static Reading read(const QString &path);
    // Paths named by the user with every playlist file among them replaced by
    // the files it names (folders and other files pass through unchanged).
    static QStringList expand(const QStringList &paths, loadReport &skipped);
};
