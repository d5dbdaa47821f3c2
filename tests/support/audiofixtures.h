#pragma once

#include <QString>
#include <QTemporaryDir>

struct TrackTags
{
    QString title;
    QString artist;
    QString album;
    unsigned year = 0;
};

// Writes real audio files into a private temporary folder. WAV is written in
// code; FLAC, OGG and MP3 come from sox. Tags are written with TagLib.
class AudioFixtures
{
public:
    AudioFixtures();

    QString dir() const;
    QString path(const QString &name) const;
    // A tone of the given length; the format follows the suffix (wav, flac, ogg, mp3).
    // Subfolders in the name are created. Returns the path, or empty on failure.
    QString make(const QString &name, int msec, const TrackTags &tags = TrackTags());
    // A tone rising evenly from `fromHz` to `toHz` over its length, so that
    // what is heard tells where in the track playback is. Any suffix the
    // player offers but APE, which no encoder here writes.
    QString makeSweep(const QString &name, int msec, int fromHz, int toHz);
    // A small WAV at a low sample rate, for bulk files (benchmarks).
    QString makeTinyWav(const QString &name, int msec, const TrackTags &tags = TrackTags());
    // A file with an audio suffix whose content no decoder accepts.
    QString makeBroken(const QString &name);

    // A small MP3 (silent 128 kbit/s frames at 44.1 kHz) whose Xing header
    // claims `frames` frames of 1152 samples: a length of its own choosing,
    // as a damaged or hostile header would. Returns the path, or empty.
    QString makeMp3ClaimingFrames(const QString &name, quint32 frames);

    static bool writeWav(const QString &path, int msec, int sampleRate, int bitsPerSample);
    static bool writeTags(const QString &path, const TrackTags &tags);

private:
    QTemporaryDir tmp;
};
