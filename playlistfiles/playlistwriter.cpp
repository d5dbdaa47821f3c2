#include "playlistfiles/playlistwriter.h"

#include "playlistfiles/m3uplaylist.h"
#include "playlistfiles/xspfplaylist.h"

#include <QFileInfo>
#include <QSaveFile>

bool playlistWriter::write(const QString &path, const QList<storedTrack> &tracks)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool xspf = info.suffix().compare(QLatin1String("xspf"), Qt::CaseInsensitive) == 0;
    file.write(xspf ? xspfPlaylist().write(folder, tracks) : m3uPlaylist().write(folder, tracks));
    return file.commit();
}
