#include "library/musicinfo.h"

#include "library/tagreader.h"

#include <QFileInfo>
#include <QMutex>
#include <QVector>

#include <limits>

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
    // The file information describes the last path asked for, also when the
    // reading fails.
    delete fileInfo;
    fileInfo = new QFileInfo(path);
    if (!path.isEmpty() && QString::compare(path, filePath, Qt::CaseSensitive) == 0) {
        failureReason.clear();
        failureIsLength = false;
        if (fileInfo->exists())
            return true;
    }
    return takeReading(path, tagReader::read(path));
}

void musicInfo::setNameParts(const QString &path)
{
    // What QFileInfo gives, without one per track: a library's worth of them
    // costs hundreds of bytes a track.
    filePath = path;
    fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const int firstDot = fileName.indexOf(QLatin1Char('.'));
    const int lastDot = fileName.lastIndexOf(QLatin1Char('.'));
    baseName = firstDot < 0 ? fileName : fileName.left(firstDot);
    suffix = lastDot < 0 ? QString() : fileName.mid(lastDot + 1);
}

bool musicInfo::takeReading(const QString &path, const tagReading &reading)
{
    failureReason.clear();
    failureIsLength = false;
    if (!reading.exists)
        return false;

    setNameParts(path);
    if (reading.failure) {
        // Told by whoever asked, once for all the files of one command.
        failureReason = tr(reading.failure);
        failureIsLength = reading.failureIsLength;
        return false;
    }
    lengthMsec = reading.lengthMsec;
    lengthText = lengthTextFor(lengthMsec);
    fileSize = reading.size;
    modifiedMsec = reading.modifiedMsec;
    title = reading.title.isEmpty() ? baseName : reading.title;
    artist = reading.artist;
    album = reading.album;
    year = reading.year;
    return true;
}

bool musicInfo::restoreStored(const storedTrack &stored)
{
    if (stored.file.isEmpty() || stored.size < 0 || stored.modified < 0 || stored.title.isEmpty()
        || stored.lengthMsec <= 0 || stored.lengthMsec > std::numeric_limits<qint32>::max())
        return false;
    qint64 size = -1;
    qint64 modified = -1;
    if (!tagReader::stamp(stored.file, size, modified) || size != stored.size || modified != stored.modified)
        return false;
    failureReason.clear();
    failureIsLength = false;
    setNameParts(stored.file);
    title = stored.title;
    artist = stored.artist;
    album = stored.album;
    year = stored.year;
    lengthMsec = qint32(stored.lengthMsec);
    lengthText = lengthTextFor(lengthMsec);
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

storedTrack musicInfo::toStored() const
{
    storedTrack entry;
    entry.file = filePath;
    entry.title = title;
    entry.artist = artist;
    entry.album = album;
    entry.year = year;
    entry.lengthMsec = lengthMsec;
    entry.size = fileSize;
    entry.modified = modifiedMsec;
    return entry;
}

QString musicInfo::lengthTextFor(qint64 msec)
{
    // Tracks of the same whole-second length share one text; a library has
    // only so many lengths under two hours.
    static QMutex mutex;
    static QVector<QString> texts(2 * 60 * 60);
    const qint64 seconds = qMax<qint64>(0, msec) / 1000;
    if (seconds >= texts.size())
        return msecToString(msec);
    QMutexLocker lock(&mutex);
    QString &text = texts[int(seconds)];
    if (text.isNull())
        text = msecToString(msec);
    return text;
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
