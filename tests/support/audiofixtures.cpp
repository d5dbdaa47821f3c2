#include "support/audiofixtures.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtMath>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

TagLib::String toTagString(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return TagLib::String(utf8.constData(), TagLib::String::UTF8);
}

bool ensureParent(const QString &path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath());
}

} // namespace

AudioFixtures::AudioFixtures() = default;

QString AudioFixtures::dir() const
{
    return tmp.path();
}

QString AudioFixtures::path(const QString &name) const
{
    return tmp.filePath(name);
}

bool AudioFixtures::writeWav(const QString &path, int msec, int sampleRate, int bitsPerSample)
{
    if (!ensureParent(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const int bytesPerSample = bitsPerSample / 8;
    const quint32 samples = quint32(qint64(sampleRate) * msec / 1000);
    const quint32 dataSize = samples * bytesPerSample;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(sampleRate)
        << quint32(sampleRate * bytesPerSample) << quint16(bytesPerSample) << quint16(bitsPerSample);
    out.writeRawData("data", 4);
    out << dataSize;
    QByteArray data;
    data.reserve(int(dataSize));
    for (quint32 i = 0; i < samples; ++i) {
        const double v = 0.2 * qSin(2 * M_PI * 440.0 * i / sampleRate);
        if (bytesPerSample == 1) {
            data.append(char(quint8(128 + v * 127)));
        } else {
            const qint16 s = qint16(v * 32767);
            data.append(char(s & 0xff));
            data.append(char((s >> 8) & 0xff));
        }
    }
    out.writeRawData(data.constData(), data.size());
    return out.status() == QDataStream::Ok;
}

bool AudioFixtures::writeTags(const QString &path, const TrackTags &tags)
{
    if (tags.title.isEmpty() && tags.artist.isEmpty() && tags.album.isEmpty() && tags.year == 0)
        return true;
    TagLib::FileRef ref(QFile::encodeName(path).constData());
    if (ref.isNull() || !ref.tag())
        return false;
    ref.tag()->setTitle(toTagString(tags.title));
    ref.tag()->setArtist(toTagString(tags.artist));
    ref.tag()->setAlbum(toTagString(tags.album));
    ref.tag()->setYear(tags.year);
    return ref.save();
}

QString AudioFixtures::make(const QString &name, int msec, const TrackTags &tags)
{
    const QString target = path(name);
    const QString suffix = QFileInfo(target).suffix().toLower();
    if (suffix == QLatin1String("wav")) {
        if (!writeWav(target, msec, 22050, 16))
            return QString();
    } else {
        if (!ensureParent(target))
            return QString();
        QProcess sox;
        sox.start(QStringLiteral("sox"),
                  {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                   QStringLiteral("-c"), QStringLiteral("1"), target, QStringLiteral("synth"),
                   QString::number(msec / 1000.0, 'f', 3), QStringLiteral("sine"),
                   QStringLiteral("440"), QStringLiteral("vol"), QStringLiteral("0.2")});
        if (!sox.waitForFinished(30000) || sox.exitStatus() != QProcess::NormalExit
            || sox.exitCode() != 0)
            return QString();
    }
    if (!writeTags(target, tags))
        return QString();
    return target;
}

namespace {

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace

QString AudioFixtures::makeSweep(const QString &name, int msec, int fromHz, int toHz)
{
    const QString target = path(name);
    const QString suffix = QFileInfo(target).suffix().toLower();
    if (!ensureParent(target))
        return QString();
    const QString wav = suffix == QLatin1String("wav") ? target : target + QStringLiteral(".sweep.wav");
    const QString seconds = QString::number(msec / 1000.0, 'f', 3);
    if (!run(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                     QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"),
                                     QStringLiteral("16"), wav, QStringLiteral("synth"), seconds,
                                     QStringLiteral("sine"),
                                     QStringLiteral("%1:%2").arg(fromHz).arg(toHz),
                                     QStringLiteral("vol"), QStringLiteral("0.5")}))
        return QString();
    if (wav == target)
        return target;
    bool made = false;
    if (suffix == QLatin1String("flac") || suffix == QLatin1String("mp3")) {
        made = run(QStringLiteral("sox"), {wav, target});
    } else if (suffix == QLatin1String("ogg") || suffix == QLatin1String("oga")) {
        made = run(QStringLiteral("oggenc"), {QStringLiteral("-Q"), QStringLiteral("-q"), QStringLiteral("3"),
                                              QStringLiteral("-o"), target, wav});
    } else {
        QStringList codec;
        if (suffix == QLatin1String("m4a"))
            codec = QStringList{QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("128k")};
        else if (suffix == QLatin1String("wma"))
            codec = QStringList{QStringLiteral("-c:a"), QStringLiteral("wmav2"), QStringLiteral("-b:a"), QStringLiteral("128k")};
        else if (suffix == QLatin1String("tta"))
            codec = QStringList{QStringLiteral("-c:a"), QStringLiteral("tta")};
        else if (suffix == QLatin1String("mpa") || suffix == QLatin1String("m2a"))
            codec = QStringList{QStringLiteral("-c:a"), QStringLiteral("mp2"), QStringLiteral("-b:a"),
                     QStringLiteral("192k"), QStringLiteral("-f"), QStringLiteral("mp2")};
        else if (suffix == QLatin1String("opus"))
            codec = QStringList{QStringLiteral("-c:a"), QStringLiteral("libopus"), QStringLiteral("-f"), QStringLiteral("ogg")};
        if (!codec.isEmpty())
            made = run(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-v"), QStringLiteral("error"),
                                                             QStringLiteral("-y"), QStringLiteral("-i"), wav}
                                                     + codec + QStringList{target});
    }
    QFile::remove(wav);
    return made ? target : QString();
}

QString AudioFixtures::makeTinyWav(const QString &name, int msec, const TrackTags &tags)
{
    const QString target = path(name);
    if (!writeWav(target, msec, 1000, 8) || !writeTags(target, tags))
        return QString();
    return target;
}

QString AudioFixtures::makeMp3ClaimingFrames(const QString &name, quint32 frames)
{
    const QString target = path(name);
    if (!ensureParent(target))
        return QString();
    const int frameBytes = 417; // 144 * 128000 / 44100, no padding
    const int frameCount = 12;
    QByteArray data(frameBytes * frameCount, '\0');
    for (int f = 0; f < frameCount; ++f) {
        const int at = f * frameBytes;
        data[at] = char(0xFF);
        data[at + 1] = char(0xFB); // MPEG-1 layer III, no CRC
        data[at + 2] = char(0x90); // 128 kbit/s, 44.1 kHz
        data[at + 3] = char(0x00); // stereo
    }
    auto putBe32 = [&data](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = char((value >> (24 - 8 * i)) & 0xff);
    };
    const int xing = 4 + 32; // after the header and stereo side information
    data.replace(xing, 4, "Xing");
    putBe32(xing + 4, 0x3); // frame count and byte count present
    putBe32(xing + 8, frames);
    putBe32(xing + 12, quint32(data.size()));
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return QString();
    return target;
}

QString AudioFixtures::makeBroken(const QString &name)
{
    const QString target = path(name);
    if (!ensureParent(target))
        return QString();
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    QByteArray junk(4096, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) & 0xff);
    file.write(junk);
    return target;
}
