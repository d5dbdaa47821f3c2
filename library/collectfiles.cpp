#include "library/collectfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// Names that are never scanned: ".", "..", anything starting with a dot
// (hidden), and a root, whose name is empty.
bool isSkippedName(const QFileInfo &info)
{
    const QString base = info.baseName();
    return base.isEmpty() || base == QLatin1String(".") || base == QLatin1String("..");
}

// What lies beside an album's tracks and is plainly not audio: covers, rip
// logs, cue sheets, playlists, booklets. Found inside a dropped folder, such
// files are passed over; anything else is tried, and reported if unreadable.
bool isPlainlyNotAudio(const QFileInfo &info)
{
    static const QSet<QString> suffixes = {
        QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"), QStringLiteral("gif"),
        QStringLiteral("bmp"), QStringLiteral("webp"), QStringLiteral("tif"), QStringLiteral("tiff"),
        QStringLiteral("ico"), QStringLiteral("svg"), QStringLiteral("heic"), QStringLiteral("txt"),
        QStringLiteral("log"), QStringLiteral("cue"), QStringLiteral("nfo"), QStringLiteral("md5"),
        QStringLiteral("sfv"), QStringLiteral("ffp"), QStringLiteral("sha1"), QStringLiteral("sha256"),
        QStringLiteral("accurip"), QStringLiteral("m3u"), QStringLiteral("m3u8"), QStringLiteral("pls"),
        QStringLiteral("xspf"), QStringLiteral("wpl"), QStringLiteral("pdf"), QStringLiteral("doc"),
        QStringLiteral("docx"), QStringLiteral("rtf"), QStringLiteral("htm"), QStringLiteral("html"),
        QStringLiteral("xml"), QStringLiteral("json"), QStringLiteral("ini"), QStringLiteral("db"),
        QStringLiteral("url"), QStringLiteral("lnk"), QStringLiteral("lrc"), QStringLiteral("par2"),
        QStringLiteral("torrent"), QStringLiteral("zip"), QStringLiteral("rar"), QStringLiteral("7z"),
        QStringLiteral("exe"),
    };
    return suffixes.contains(info.suffix().toLower());
}

// `entered` holds the canonical paths of the folders being scanned above this
// one, so a link back into one of them is not followed a second time.
void collectFolder(const QString &folder, QStringList &result, QSet<QString> &entered)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || entered.contains(canonical))
        return;
    entered.insert(canonical);

    // The default listing: files and folders that are not hidden, mixed,
    // sorted by name ignoring case. An unreadable folder lists nothing.
    const QFileInfoList entries = QDir(folder).entryInfoList();
    for (const QFileInfo &entry : entries) {
        if (isSkippedName(entry))
            continue;
        if (entry.isDir())
            collectFolder(entry.filePath(), result, entered);
        else if (!isPlainlyNotAudio(entry))
            result.append(entry.filePath());
    }

    entered.remove(canonical);
}

} // namespace

QStringList collectFiles(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            result.append(path);
            continue;
        }
        // A folder given with a trailing separator is judged by its own name.
        QString trimmed = path;
        while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
            trimmed.chop(1);
        if (isSkippedName(QFileInfo(trimmed)))
            continue;
        QSet<QString> entered;
        collectFolder(trimmed, result, entered);
    }
    return result;
}
