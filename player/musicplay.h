#pragma once

#include "library/musicinfo.h"
#include "player/gstengine.h"

#include <functional>

class loadReport;

// The single audio player: plays through its engine and describes the file
// that is heard, also after a gapless change to the next one.
class musicPlay : public musicInfo
{
    Q_OBJECT
public:
    using State = gstEngine::State;

    musicPlay();
    ~musicPlay() override;

    bool playFile(const QString &file);
    // Who hears of a file whose tags cannot be read as it starts; unset, a box says it.
    std::function<void(const loadReport &)> tellUnreadable;
    bool stop();
    // Holds the stream at its position; resume() goes on from there.
    void pause();
    void resume();
    bool isPaused() const;
    void seek(qint64 msec);
    bool isPlaying() const;
    State state() const;
    // Where the file heard now is, in ms; 0 when stopped.
    qint64 position() const;

    // The file to go on with, without a gap, when this one ends; empty
    // withdraws it.
    void setNextFile(const QString &file);
    QString nextFile() const;

    qreal volume() const;
    bool isMuted() const;
    void toggleMute();
    void setVolume(qreal volume);
    void setVolumePercent(int percent);
    // A fade on top of the volume (1.0: none); volume() is unaffected.
    void setAttenuation(qreal factor);
    void setReplayGain(gstEngine::ReplayGain mode, double preAmpDb, double untaggedDb);

    gstEngine *engine() const { return sound; }

signals:
    void stateChanged(musicPlay::State state);
    // The track ended and nothing followed it.
    void finished();
    // The file set with setNextFile() is heard now, and described here.
    void movedToNext(const QString &file);
    void failed(const QString &file, const QString &reason);
    // The length the decoder found, when the tags told another or none.
    void lengthKnown(qint64 msec);

private:
    void describe(const QString &file);
    void onLength(qint64 msec);

    gstEngine *sound = nullptr;
};
