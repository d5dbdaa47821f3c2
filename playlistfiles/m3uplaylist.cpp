#include "playlistfiles/m3uplaylist.h"

#include <QFileInfo>
#include <QStringList>

void m3uPlaylist::read(const QString &path, const QByteArray &bytes, playlistReading &reading) const
{
    const QStringList lines = decode(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed(); // also the \r of CRLF
        // #EXTM3U, #EXTINF and other directives: the tags come from the files.
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        addEntry(path, line, reading);
    }
}

QByteArray m3uPlaylist::write(const QString &folder, const QList<storedTrack> &tracks) const
{
    QString text = QStringLiteral("#EXTM3U\n");
    for (const storedTrack &track : tracks) {
        const qint64 seconds = track.lengthMsec >= 0 ? (track.lengthMsec + 500) / 1000 : -1;
        QString name = track.title;
        if (!track.artist.isEmpty() && !track.title.isEmpty())
            name = track.artist + QStringLiteral(" - ") + track.title;
        if (name.isEmpty())
            name = QFileInfo(track.file).completeBaseName();
        // A line break in a tag would start a new entry.
        name.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        text += QStringLiteral("#EXTINF:%1,%2\n").arg(seconds).arg(name);
        text += relativeIfUnder(folder, track.file) + QLatin1Char('\n');
    }
    return text.toUtf8();
}
