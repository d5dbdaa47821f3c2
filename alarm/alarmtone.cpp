#include "alarm/alarmtone.h"

#include "storage/shippedfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <cmath>

namespace {

const int sampleRate = 22050;

void appendLe32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendLe16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

// Bursts of four beeps alternating between two pitches, then a pause; loud
// enough to wake, with soft edges so the beeps do not click.
QVector<qint16> samples()
{
    const double pi = 3.14159265358979323846;
    const double beep = 0.12, gap = 0.06, pause = 0.5;
    const double pitches[] = {880.0, 1320.0};
    QVector<qint16> out;
    for (int burst = 0; burst < 2; ++burst) {
        for (int b = 0; b < 4; ++b) {
            const int n = int(beep * sampleRate);
            const int edge = sampleRate / 200; // 5 ms
            for (int i = 0; i < n; ++i) {
                const double envelope = qMin(1.0, qMin(i, n - 1 - i) / double(edge));
                const double value = std::sin(2 * pi * pitches[b % 2] * i / sampleRate);
                out << qint16(value * envelope * 0.6 * 32767);
            }
            out.insert(out.size(), int(gap * sampleRate), 0);
        }
        out.insert(out.size(), int(pause * sampleRate), 0);
    }
    return out;
}

} // namespace

QByteArray alarmTone::wavData()
{
    const QVector<qint16> pcm = samples();
    const quint32 dataBytes = quint32(pcm.size()) * 2;
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    appendLe32(out, 16);
    appendLe16(out, 1); // PCM
    appendLe16(out, 1); // mono
    appendLe32(out, sampleRate);
    appendLe32(out, sampleRate * 2);
    appendLe16(out, 2);
    appendLe16(out, 16);
    out.append("data", 4);
    appendLe32(out, dataBytes);
    for (const qint16 sample : pcm)
        appendLe16(out, quint16(sample));
    return out;
}

bool alarmTone::writeTo(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(wavData());
    return file.commit();
}

QString alarmTone::filePath()
{
    const QString name = QLatin1String(fileName());
    const QString shipped = shippedFiles::find(name);
    if (!shipped.isEmpty())
        return shipped;
    // Not shipped where expected (a moved executable, a test): the tone is
    // part of the program, so write it out rather than stay silent.
    QStringList folders = {QStandardPaths::writableLocation(QStandardPaths::CacheLocation),
                           QDir::tempPath()};
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = folder + QLatin1Char('/') + name;
        if (QFileInfo(path).size() == wavData().size() || writeTo(path))
            return path;
    }
    return QString();
}
