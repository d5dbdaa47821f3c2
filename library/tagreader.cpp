#include "library/tagreader.h"

#include <QFile>
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

} // namespace

// From stat itself: QFileInfo's times are local QDateTimes, whose time-zone
// work costs more than the whole stat over a 10,000-track playlist.
bool tagReader::stamp(const QString &path, qint64 &size, qint64 &modifiedMsec)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = qint64(info.st_size);
    modifiedMsec = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return true;
}

tagReading tagReader::read(const QString &path)
{
    tagReading reading;
    // One stat answers whether the file is there and gives its stamps.
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return reading;
    reading.exists = true;

    const QByteArray localName = QFile::encodeName(path);
    TagLib::FileRef ref(localName.constData(), true, TagLib::AudioProperties::Average);
    qint64 msec = 0;
    if (ref.isNull()) {
        reading.failure = QT_TRANSLATE_NOOP("musicInfo", "この形式のファイルは読み込めません。");
    } else if (!ref.audioProperties()) {
        reading.failure = QT_TRANSLATE_NOOP("musicInfo", "再生時間を読み取れません。");
    } else if (!ref.tag()) {
        reading.failure = QT_TRANSLATE_NOOP("musicInfo", "タグ情報を読み取れません。");
    } else {
        // In 64 bits: a damaged header can claim a length whose milliseconds
        // do not fit the track's 32-bit field, or a negative one.
        msec = qint64(ref.audioProperties()->lengthInSeconds()) * 1000;
        if (msec < 0 || msec > std::numeric_limits<qint32>::max())
            reading.failure = QT_TRANSLATE_NOOP(
                "musicInfo", "再生時間が正しくありません。ファイルが壊れている可能性があります。");
        else if (msec == 0) {
            // No audio the tag library can time (junk behind an audio
            // suffix, or under a second): refused like any unreadable file.
            reading.failure = QT_TRANSLATE_NOOP("musicInfo", "再生時間を読み取れません。");
            reading.failureIsLength = true;
        }
    }
    if (reading.failure)
        return reading;

    reading.lengthMsec = qint32(msec);
    if (S_ISREG(info.st_mode)) {
        reading.size = qint64(info.st_size);
        reading.modifiedMsec = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    }
    const TagLib::Tag *tag = ref.tag();
    reading.title = decodeTagText(tag->title());
    reading.artist = decodeTagText(tag->artist());
    reading.album = decodeTagText(tag->album());
    reading.year = QString::number(tag->year(), 10);
    return reading;
}
