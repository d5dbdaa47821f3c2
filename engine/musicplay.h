#pragma once

#include "engine/musicinfo.h"

#include <phonon/Path>

namespace Phonon {
class MediaObject;
class AudioOutput;
}
class outputLevel;

// The single audio player: a thin layer over the media framework that also
// describes the file it was last asked to play.
class musicPlay : public musicInfo
{
public:
    musicPlay();
    ~musicPlay() override;

    bool playFile(const QString &file);
    bool stop();
    void seek(qint32 msec);
    bool isPlaying() const;
    Phonon::MediaObject *mediaObject() const;
    qreal volume() const;
    bool isMuted() const;
    void toggleMute();
    void setVolume(qreal volume);
    void setVolumePercent(int percent);

    Phonon::MediaObject *media = nullptr;
    Phonon::AudioOutput *output = nullptr;
    Phonon::Path path;

    // The volume and mute the player keeps for every stream it plays.
    outputLevel *levelKeeper = nullptr;
};
