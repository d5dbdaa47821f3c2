#include "playlistfiles/playlistreader.h"

#include "playlistfiles/m3uplaylist.h"
#include "playlistfiles/plsplaylist.h"
#include "playlistfiles/xspfplaylist.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>

namespace {

// Playlists are small text files; anything larger is not one.
constexpr qint64 maxPlaylistBytes = 64 * 1024 * 1024;

} // namespace

playlistReader::Reading playlistReader::read(const QString &path)
{
    Reading reading;
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxPlaylistBytes || !file.open(QIODevice::ReadOnly)) {
        reading.skipped.add(path, QObject::tr("プレイリストを読み込めません。"));
        return reading;
    }
    reading.opened = true;
    const QByteArray bytes = file.readAll();
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("xspf"))
        xspfPlaylist().read(path, bytes, reading);
    else if (suffix == QLatin1String("pls"))
        plsPlaylist().read(path, bytes, reading);
    else
        m3uPlaylist().read(path, bytes, reading);
    return reading;
}

QStringList playlistReader::expand(const QStringList &paths, loadReport &skipped)
{
    QStringList expanded;
    for (const QString &path : paths) {
        if (!isPlaylistFile(path) || !QFileInfo(path).isFile()) {
            expanded << path;
            continue;
        }
        const Reading reading = read(path);
        expanded += reading.files;
        skipped.append(reading.skipped);
    }
    return expanded;
}
