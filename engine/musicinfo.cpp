#include "engine/musicinfo.h"

#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

#include <limits>

#include <sys/stat.h>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

// Tag text whose characters all fit in 8 bits may be legacy bytes in the
// locale's encoding (Shift_JIS ID3v1 on a Japanese system); anything wider is
// already proper Unicode.
QString decodeTagText(const TagLib::String &text)
{
    if (text.isEmpty())
        return QString();
    if (text.isLatin1()) {
        const TagLib::ByteVector bytes = text.data(TagLib::String::Latin1);
        QTextCodec::ConverterState state;
        const QString decoded = QTextCodec::codecForLocale()->toUnicode(
            bytes.data(), int(bytes.size()), &state);
        // Bytes the locale cannot decode (Latin-1 accents under a UTF-8
        // locale) were meant as Latin-1 after all.
        if (state.invalidChars > 0 || state.remainingChars > 0)
            return QString::fromLatin1(bytes.data(), int(bytes.size()));
        return decoded;
    }
    const TagLib::ByteVector utf8 = text.data(TagLib::String::UTF8);
    return QString::fromUtf8(utf8.data(), int(utf8.size()));
}

// Size and modification time (ms since the epoch) of a regular file, from
// stat itself: QFileInfo's times are local QDateTimes, whose time-zone work
// costs more than the whole stat over a 10,000-track playlist.
bool statFile(const QString &path, qint64 &size, qint64 &modifiedMsec)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = qint64(info.st_size);
    modifiedMsec = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return true;
}

} // namespace

musicInfo::musicInfo(QObject *parent)
    : QObject(parent)
{
}

musicInfo::~musicInfo()
{
    delete fileInfo;
}

bool musicInfo::readTags(const QString &path)
{
    delete fileInfo;
    fileInfo = new QFileInfo(path);
    failureReason.clear();
    failureIsLength = false;

    if (path.isEmpty())
        return false;
    if (!fileInfo->exists())
        return false;
    if (QString::compare(path, filePath, Qt::CaseSensitive) == 0)
        return true;

    filePath = path;
    baseName = fileInfo->baseName();
    suffix = fileInfo->suffix();
    fileName = fileInfo->fileName();

    const QByteArray localName = QFile::encodeName(path);
    TagLib::FileRef ref(localName.constData(), true, TagLib::AudioProperties::Average);
    const char *failure = nullptr;
    qint64 msec = 0;
    if (ref.isNull()) {
        failure = "この形式のファイルは読み込めません。";
    } else if (!ref.audioProperties()) {
        failure = "再生時間を読み取れません。";
    } else if (!ref.tag()) {
        failure = "タグ情報を読み取れません。";
    } else {
        // In 64 bits: a damaged header can claim a length whose milliseconds
        // do not fit the track's 32-bit field, or a negative one.
        msec = qint64(ref.audioProperties()->lengthInSeconds()) * 1000;
        if (msec < 0 || msec > std::numeric_limits<qint32>::max())
            failure = "再生時間が正しくありません。ファイルが壊れている可能性があります。";
    }
    if (failure) {
        // Told by whoever asked, once for all the files of one command.
        failureReason = tr(failure);
        return false;
    }

    lengthMsec = qint32(msec);
    if (lengthMsec == 0) {
        // No audio the tag library can time (junk behind an audio suffix, or
        // under a second): refused, and said so, like any unreadable file.
        failureReason = tr("再生時間を読み取れません。");
        failureIsLength = true;
        return false;
    }
    lengthText = msecToString(lengthMsec);
    statFile(path, fileSize, modifiedMsec);

    const TagLib::Tag *tag = ref.tag();
    title = decodeTagText(tag->title());
    if (title.isEmpty())
        title = baseName;
    artist = decodeTagText(tag->artist());
    album = decodeTagText(tag->album());
    year = QString::number(tag->year(), 10);
    return true;
}

bool musicInfo::restoreStored(const storedTrack &stored)
{
    if (stored.file.isEmpty() || stored.size < 0 || stored.modified < 0 || stored.title.isEmpty()
        || stored.lengthMsec <= 0 || stored.lengthMsec > std::numeric_limits<qint32>::max())
        return false;
    qint64 size = -1;
    qint64 modified = -1;
    if (!statFile(stored.file, size, modified) || size != stored.size || modified != stored.modified)
        return false;
    delete fileInfo;
    fileInfo = new QFileInfo(stored.file);
    failureReason.clear();
    failureIsLength = false;
    filePath = stored.file;
    baseName = fileInfo->baseName();
    suffix = fileInfo->suffix();
    fileName = fileInfo->fileName();
    title = stored.title;
    artist = stored.artist;
    album = stored.album;
    year = stored.year;
    lengthMsec = qint32(stored.lengthMsec);
    lengthText = msecToString(lengthMsec);
    fileSize = stored.size;
    modifiedMsec = stored.modified;
    return true;
}

QList<storedTrack> musicInfo::entriesFor(const QStringList &paths)
{
    QList<storedTrack> entries;
    entries.reserve(paths.size());
    for (const QString &path : paths) {
        storedTrack entry;
        entry.file = path;
        entries.append(entry);
    }
    return entries;
}

QString musicInfo::msecToString(qint64 msec)
{
    // 64 bits throughout: a whole library's total runs to thousands of hours.
    const qint64 totalSeconds = qMax<qint64>(0, msec) / 1000;
    qint64 minutes = totalSeconds / 60;
    const qint64 secs = totalSeconds % 60;
    QString text;
    if (minutes > 60) {
        text += QString::number(minutes / 60) + QLatin1Char(':');
        minutes %= 60;
    }
    if (minutes <= 9)
        text += QLatin1Char('0');
    text += QString::number(minutes) + QLatin1Char(':');
    if (secs <= 9)
        text += QLatin1Char('0');
    text += QString::number(secs);
    return text;
}

#include "moc_musicinfo.cpp"
