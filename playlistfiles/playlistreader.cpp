#include "playlistfiles/playlistreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTextCodec>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

// Playlists are small text files; anything larger is not one.
constexpr qint64 maxPlaylistBytes = 64 * 1024 * 1024;

bool hasScheme(const QString &entry)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(entry).hasMatch();
}

} // namespace

bool playlistReader::isPlaylistFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8") || suffix == QLatin1String("pls")
        || suffix == QLatin1String("xspf");
}

QString playlistReader::decode(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QTextCodec::ConverterState state;
    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    const QString text = utf8->toUnicode(data.constData(), data.size(), &state);
    if (state.invalidChars == 0)
        return text;
    QTextCodec *locale = QTextCodec::codecForLocale();
    if (locale && locale->mibEnum() != 106) // 106: UTF-8
        return locale->toUnicode(data);
    return QString::fromLatin1(data);
}

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
        readXspf(path, bytes, reading);
    else
        readLines(path, decode(bytes), suffix == QLatin1String("pls"), reading);
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

void playlistReader::readLines(const QString &path, const QString &text, bool pls, Reading &reading)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (!pls) {
        for (QString line : lines) {
            line = line.trimmed(); // also the \r of CRLF
            // #EXTM3U, #EXTINF and other directives: the tags come from the files.
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            addEntry(path, line, reading);
        }
        return;
    }
    // PLS: File1=..., File2=..., in the order of their numbers.
    static const QRegularExpression fileKey(QStringLiteral("^File(\\d+)=(.*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QMap<int, QString> entries;
    for (const QString &raw : lines) {
        const QRegularExpressionMatch match = fileKey.match(raw.trimmed());
        if (match.hasMatch())
            entries.insert(match.captured(1).toInt(), match.captured(2).trimmed());
    }
    for (const QString &entry : qAsConst(entries))
        addEntry(path, entry, reading);
}

void playlistReader::readXspf(const QString &path, const QByteArray &bytes, Reading &reading)
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

void playlistReader::addEntry(const QString &playlist, const QString &entry, Reading &reading)
{
    if (entry.contains(QChar(0))) {
        reading.skipped.add(entry, QObject::tr("ファイル名に使えない文字が含まれています。"));
        return;
    }
    QString local = entry;
    if (hasScheme(entry)) {
        const QUrl url(entry);
        if (!url.isLocalFile()) {
            reading.skipped.add(entry, QObject::tr("ファイル以外の URL は追加できません。"));
            return;
        }
        local = url.toLocalFile();
    }
    const QDir folder = QFileInfo(playlist).absoluteDir();
    QFileInfo info(folder.absoluteFilePath(local));
    // Written on Windows: backslashes as separators.
    if (!info.exists() && local.contains(QLatin1Char('\\')))
        info.setFile(folder.absoluteFilePath(QString(local).replace(QLatin1Char('\\'), QLatin1Char('/'))));
    const QString file = QDir::cleanPath(info.absoluteFilePath());
    if (!info.exists())
        reading.skipped.add(file, QObject::tr("ファイルが見つかりません。"));
    else if (info.isDir())
        reading.skipped.add(file, QObject::tr("フォルダはプレイリストから追加できません。"));
    else if (!info.isFile())
        reading.skipped.add(file, QObject::tr("通常のファイルではありません。"));
    else if (info.canonicalFilePath() == QFileInfo(playlist).canonicalFilePath() || isPlaylistFile(file))
        reading.skipped.add(file, QObject::tr("プレイリストの中のプレイリストは追加できません。"));
    else
        reading.files << file;
}
