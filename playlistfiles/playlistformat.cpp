#include "playlistfiles/playlistformat.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QTextCodec>
#include <QUrl>

namespace {

bool hasScheme(const QString &entry)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(entry).hasMatch();
}

} // namespace

QByteArray playlistFormat::write(const QString &, const QList<storedTrack> &) const
{
    return QByteArray();
}

bool playlistFormat::isPlaylistFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8") || suffix == QLatin1String("pls")
        || suffix == QLatin1String("xspf");
}

QString playlistFormat::decode(const QByteArray &bytes)
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

QString playlistFormat::relativeIfUnder(const QString &folder, const QString &file)
{
    const QString relative = QDir(folder).relativeFilePath(file);
    if (relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..") || QDir::isAbsolutePath(relative))
        return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    return relative;
}

void playlistFormat::addEntry(const QString &playlist, const QString &entry, playlistReading &reading)
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
