#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

// One stream as the private sound server plays it.
struct HeardStream
{
    int index = -1;
    int percent = -1; // of the front-left channel
    bool muted = false;
    bool corked = false;
    int sink = -1; // the index of the sink it plays on
    qint64 pid = 0;
    QByteArray restoreId;
};

// What the private sound server of the test session plays, read where a
// person would hear it: its streams (pactl) and its sink's monitor (parec).
class SoundServerProbe
{
public:
    static QList<HeardStream> streams();
    // The streams of one process (this one by default).
    static QList<HeardStream> streamsOf(qint64 pid = QCoreApplication::applicationPid());
    // Streams of this process that are not corked: the ones being heard.
    static QList<HeardStream> audibleStreams();

    // Makes the server remember `percent` (and mute) for streams carrying
    // `restoreId`, as a mixer change on an earlier stream of theirs would.
    // The restore id the test session gives this process's streams.
    static QByteArray ownRestoreId() { return qgetenv("PULSE_PROP_OVERRIDE_module-stream-restore.id"); }
    static bool rememberVolume(const QByteArray &restoreId, int percent, bool muted = false);

    // Mono 16-bit samples of the default sink's monitor, `msec` long.
    static QVector<qint16> record(int msec, int rate = sampleRate);
    // The same while the event loop runs (the player keeps working meanwhile).
    static QVector<qint16> recordWhileRunning(int msec, int rate = sampleRate);
    static double rms(const QVector<qint16> &samples);
    // The dominant frequency of a tone, from its zero crossings.
    static double frequency(const QVector<qint16> &samples, int rate = sampleRate);

    // The default sink, as the desktop's mixer shows it.
    static bool setSinkMuted(bool muted);
    static bool setSinkVolume(int percent);
    static bool sinkMuted();
    static int sinkPercent(); // the front-left channel; -1 when unknown

    // A second output, as plugged-in headphones are; the module's id, or -1.
    static int addNullSink(const QString &name);
    static bool removeModule(int module);
    static bool setDefaultSink(const QString &name);
    static int sinkIndex(const QString &name); // -1 when there is none
    // Stops the sound server and starts it again, as a desktop's does after a crash.
    static bool restartServer();

    static constexpr int sampleRate = 44100;

private:
    static QString pactl(const QStringList &arguments);
};
