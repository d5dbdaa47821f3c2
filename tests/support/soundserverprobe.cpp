#include "support/soundserverprobe.h"

#include "support/audiofixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>

namespace {

QProcessEnvironment plainEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    // The test's own restore id is for the player's streams: a recorder
    // carrying it would be given the volume the server keeps for them.
    env.remove(QStringLiteral("PULSE_PROP_OVERRIDE_module-stream-restore.id"));
    return env;
}

} // namespace

QString SoundServerProbe::pactl(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(plainEnvironment());
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<HeardStream> SoundServerProbe::streams()
{
    static const QRegularExpression header(QStringLiteral("^Sink Input #(\\d+)"));
    static const QRegularExpression volume(QStringLiteral("^\\s*Volume: [a-z-]+: \\d+ /\\s*(\\d+)%"));
    static const QRegularExpression property(QStringLiteral("^\\s*([a-z.-]+) = \"(.*)\"$"));
    QList<HeardStream> found;
    const QStringList lines = pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")}).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QRegularExpressionMatch start = header.match(line);
        if (start.hasMatch()) {
            found.append(HeardStream());
            found.last().index = start.captured(1).toInt();
            continue;
        }
        if (found.isEmpty())
            continue;
        HeardStream &stream = found.last();
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("Corked: "))) {
            stream.corked = trimmed.endsWith(QLatin1String("yes"));
        } else if (trimmed.startsWith(QLatin1String("Sink: "))) {
            stream.sink = trimmed.mid(6).toInt();
        } else if (trimmed.startsWith(QLatin1String("Mute: "))) {
            stream.muted = trimmed.endsWith(QLatin1String("yes"));
        } else if (const QRegularExpressionMatch v = volume.match(line); v.hasMatch()) {
            stream.percent = v.captured(1).toInt();
        } else if (const QRegularExpressionMatch p = property.match(line); p.hasMatch()) {
            if (p.captured(1) == QLatin1String("application.process.id"))
                stream.pid = p.captured(2).toLongLong();
            else if (p.captured(1) == QLatin1String("module-stream-restore.id"))
                stream.restoreId = p.captured(2).toUtf8();
        }
    }
    return found;
}

QList<HeardStream> SoundServerProbe::streamsOf(qint64 pid)
{
    QList<HeardStream> own;
    for (const HeardStream &stream : streams())
        if (stream.pid == pid)
            own.append(stream);
    return own;
}

QList<HeardStream> SoundServerProbe::audibleStreams()
{
    QList<HeardStream> audible;
    for (const HeardStream &stream : streamsOf())
        if (!stream.corked)
            audible.append(stream);
    return audible;
}

bool SoundServerProbe::rememberVolume(const QByteArray &restoreId, int percent, bool muted)
{
    // A stream of the same id, changed by a mixer: the server keeps the change.
    QTemporaryDir dir;
    const QString silence = dir.filePath(QStringLiteral("silence.wav"));
    if (!AudioFixtures::writeWav(silence, 20000, 22050, 16))
        return false;
    QProcess player;
    player.setProcessEnvironment(plainEnvironment());
    player.start(QStringLiteral("paplay"),
                 {QStringLiteral("--property=module-stream-restore.id=") + QString::fromUtf8(restoreId), silence});
    if (!player.waitForStarted(5000))
        return false;
    int index = -1;
    QElapsedTimer clock;
    clock.start();
    while (index < 0 && clock.elapsed() < 5000) {
        for (const HeardStream &stream : streamsOf(player.processId()))
            index = stream.index;
        if (index < 0)
            QThread::msleep(20);
    }
    bool remembered = false;
    if (index >= 0) {
        pactl({QStringLiteral("set-sink-input-volume"), QString::number(index), QString::number(percent) + QLatin1Char('%')});
        pactl({QStringLiteral("set-sink-input-mute"), QString::number(index), muted ? QStringLiteral("1") : QStringLiteral("0")});
        for (const HeardStream &stream : streamsOf(player.processId()))
            remembered = stream.percent == percent && stream.muted == muted;
    }
    player.kill();
    player.waitForFinished(5000);
    return remembered;
}

namespace {

QStringList recorderArguments(int rate)
{
    return {QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"), QStringLiteral("--raw"),
            QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
            QStringLiteral("--rate=") + QString::number(rate), QStringLiteral("--latency-msec=20")};
}

QVector<qint16> toSamples(QByteArray data, qint64 wantedBytes)
{
    data.truncate(int(qMin<qint64>(data.size(), wantedBytes)));
    QVector<qint16> samples(data.size() / 2);
    memcpy(samples.data(), data.constData(), size_t(samples.size()) * 2);
    return samples;
}

} // namespace

QVector<qint16> SoundServerProbe::recordWhileRunning(int msec, int rate)
{
    QProcess recorder;
    recorder.setProcessEnvironment(plainEnvironment());
    recorder.start(QStringLiteral("parec"), recorderArguments(rate));
    QByteArray data;
    QObject::connect(&recorder, &QProcess::readyReadStandardOutput, [&] { data += recorder.readAllStandardOutput(); });
    const qint64 wanted = qint64(rate) * msec / 1000 * 2;
    QElapsedTimer clock;
    clock.start();
    if (recorder.waitForStarted(5000)) {
        while (data.size() < wanted && clock.elapsed() < msec + 5000)
            QTest::qWait(10);
    }
    recorder.disconnect();
    recorder.kill();
    recorder.waitForFinished(5000);
    return toSamples(data, wanted);
}

QVector<qint16> SoundServerProbe::record(int msec, int rate)
{
    QProcess recorder;
    recorder.setProcessEnvironment(plainEnvironment());
    recorder.start(QStringLiteral("parec"), recorderArguments(rate));
    QByteArray data;
    const qint64 wanted = qint64(rate) * msec / 1000 * 2;
    QElapsedTimer clock;
    clock.start();
    if (recorder.waitForStarted(5000)) {
        while (data.size() < wanted && clock.elapsed() < msec + 5000) {
            recorder.waitForReadyRead(100);
            data += recorder.readAllStandardOutput();
        }
    }
    recorder.kill();
    recorder.waitForFinished(5000);
    return toSamples(data, wanted);
}

double SoundServerProbe::rms(const QVector<qint16> &samples)
{
    if (samples.isEmpty())
        return 0.0;
    double sum = 0;
    for (qint16 s : samples)
        sum += double(s) * s;
    return std::sqrt(sum / samples.size()) / 32768.0;
}

double SoundServerProbe::frequency(const QVector<qint16> &samples, int rate)
{
    int crossings = 0;
    for (int i = 1; i < samples.size(); ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    return samples.isEmpty() ? 0.0 : crossings / 2.0 / (double(samples.size()) / rate);
}

bool SoundServerProbe::setSinkMuted(bool muted)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), {QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"),
                                            muted ? QStringLiteral("1") : QStringLiteral("0")});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

bool SoundServerProbe::setSinkVolume(int percent)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), {QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                                            QStringLiteral("%1%").arg(percent)});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

bool SoundServerProbe::sinkMuted()
{
    return pactl({QStringLiteral("get-sink-mute"), QStringLiteral("@DEFAULT_SINK@")}).contains(QLatin1String("yes"));
}

int SoundServerProbe::sinkPercent()
{
    // "Volume: front-left: 32768 /  50% / -18.06 dB,   front-right: ..."
    const QString out = pactl({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")});
    const QRegularExpression first(QStringLiteral("(\\d+)%"));
    const QRegularExpressionMatch match = first.match(out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

int SoundServerProbe::addNullSink(const QString &name)
{
    bool ok = false;
    const int module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                              QStringLiteral("sink_name=") + name})
                           .trimmed()
                           .toInt(&ok);
    return ok ? module : -1;
}

bool SoundServerProbe::removeModule(int module)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), {QStringLiteral("unload-module"), QString::number(module)});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

bool SoundServerProbe::setDefaultSink(const QString &name)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"), name});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

int SoundServerProbe::sinkIndex(const QString &name)
{
    const QStringList lines =
        pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")}).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() > 1 && fields[1] == name)
            return fields[0].toInt();
    }
    return -1;
}

bool SoundServerProbe::restartServer()
{
    QProcess stop;
    stop.start(QStringLiteral("pulseaudio"), {QStringLiteral("--kill")});
    if (!stop.waitForFinished(10000))
        return false;
    for (int i = 0; i < 50 && pactl({QStringLiteral("info")}).contains(QLatin1String("Server Name")); ++i)
        QTest::qWait(100);
    QProcess start;
    start.start(QStringLiteral("pulseaudio"), {QStringLiteral("-D"), QStringLiteral("--exit-idle-time=-1"),
                                               QStringLiteral("--system=false")});
    if (!start.waitForFinished(10000) || start.exitCode() != 0)
        return false;
    for (int i = 0; i < 50; ++i) {
        if (pactl({QStringLiteral("info")}).contains(QLatin1String("Server Name")))
            return true;
        QTest::qWait(100);
    }
    return false;
}
