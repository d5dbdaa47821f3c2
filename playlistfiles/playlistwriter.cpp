#include "playlistfiles/playlistwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QXmlStreamWriter>

playlistWriter::Format playlistWriter::formatFor(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("xspf"), Qt::CaseInsensitive) == 0 ? Xspf : M3u8;
}

QString playlistWriter::relativeIfUnder(const QString &folder, const QString &file)
{
    const QString relative = QDir(folder).relativeFilePath(file);
    if (relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..") || QDir::isAbsolutePath(relative))
        return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    return relative;
}

QByteArray playlistWriter::m3u8(const QString &folder, const QList<storedTrack> &tracks)
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

QByteArray playlistWriter::xspf(const QString &folder, const QList<storedTrack> &tracks)
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

bool playlistWriter::write(const QString &path, const QList<storedTrack> &tracks, Format format)
{
    const QString folder = QFileInfo(path).absolutePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(format == Xspf ? xspf(folder, tracks) : m3u8(folder, tracks));
    return file.commit();
}

bool playlistWriter::write(const QString &path, const QList<storedTrack> &tracks)
{
    return write(path, tracks, formatFor(path));
}
