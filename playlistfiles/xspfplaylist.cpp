#include "playlistfiles/xspfplaylist.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

void xspfPlaylist::read(const QString &path, const QByteArray &bytes, playlistReading &reading) const
{
    QXmlStreamReader xml(bytes);
    const QUrl base = QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    bool inTrack = false;
    bool located = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("track")) {
            inTrack = true;
            located = false;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("track")) {
            inTrack = false;
        } else if (inTrack && !located && xml.isStartElement() && xml.name() == QLatin1String("location")) {
            located = true; // a track may list alternatives; the first counts
            const QString location = xml.readElementText().trimmed();
            const QUrl url(location);
            const QUrl resolved = url.isRelative() ? base.resolved(url) : url;
            addEntry(path, resolved.isLocalFile() ? resolved.toLocalFile() : location, reading);
        }
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        reading.skipped.add(path, QObject::tr("プレイリストの途中から読み込めません。"));
}

QByteArray xspfPlaylist::write(const QString &folder, const QList<storedTrack> &tracks) const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeDefaultNamespace(QStringLiteral("http://xspf.org/ns/0/"));
    xml.writeStartElement(QStringLiteral("trackList"));
    for (const storedTrack &track : tracks) {
        xml.writeStartElement(QStringLiteral("track"));
        const QString relative = relativeIfUnder(folder, track.file);
        // A relative location is a relative URI: percent-encoded, '/' kept.
        const QString location = QDir::isAbsolutePath(relative)
            ? QString::fromUtf8(QUrl::fromLocalFile(relative).toEncoded())
            : QString::fromUtf8(QUrl::toPercentEncoding(relative, "/"));
        xml.writeTextElement(QStringLiteral("location"), location);
        if (!track.title.isEmpty())
            xml.writeTextElement(QStringLiteral("title"), track.title);
        if (!track.artist.isEmpty())
            xml.writeTextElement(QStringLiteral("creator"), track.artist);
        if (!track.album.isEmpty())
            xml.writeTextElement(QStringLiteral("album"), track.album);
        if (track.lengthMsec > 0)
            xml.writeTextElement(QStringLiteral("duration"), QString::number(track.lengthMsec));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
