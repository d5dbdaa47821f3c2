#pragma once

#include "engine/musicinfo.h"

#include <functional>

#include <phonon/Path>

namespace Phonon {
class MediaObject;
class AudioOutput;
}
class outputLevel;
class loadReport;

// The single audio player: a thin layer over the media framework that also
// describes the file it was last asked to play.
class musicPlay : public musicInfo
{
public:
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
    void seek(qint32 msec);
    bool isPlaying() const;
    Phonon::MediaObject *mediaObject() const;
    qreal volume() const;
    bool isMuted() const;
    void toggleMute();
    void setVolume(qreal volume);
    void setVolumePercent(int percent);
    // A fade on top of the volume (1.0: none); volume() is unaffected.
    void setAttenuation(qreal factor);

    Phonon::MediaObject *media = nullptr;
    Phonon::AudioOutput *output = nullptr;
    Phonon::Path path;

    // The volume and mute the player keeps for every stream it plays.
    outputLevel *levelKeeper = nullptr;
};
