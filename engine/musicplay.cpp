#include "engine/musicplay.h"

#include "engine/loadreport.h"
#include "engine/outputlevel.h"
#include "engine/playbackbackend.h"

#include <QFileInfo>
#include <QUrl>
#include <QtGlobal>

#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>


musicPlay::musicPlay()
    : musicInfo(nullptr)
{
    playbackBackend::prepare();
    media = new Phonon::MediaObject(this);
    output = new Phonon::AudioOutput(Phonon::MusicCategory, this);
    path = Phonon::createPath(media, output);
    levelKeeper = new outputLevel(media, output, this);
}

musicPlay::~musicPlay()
{
    media->stop();
    media->clear();
    path.disconnect();
}

bool musicPlay::playFile(const QString &file)
{
    // A file whose tags cannot be read may still play; the user hears why
    // its title is missing.
    if (!readTags(file) && !failureReason.isEmpty() && !failureIsLength) {
        loadReport report;
        report.add(file, failureReason);
        if (tellUnreadable)
            tellUnreadable(report);
        else
            report.show(nullptr);
    }

    if (!fileInfo)
        return false;
    const QString target = fileInfo->filePath();
    if (target.isEmpty() || !fileInfo->exists() || !fileInfo->isFile())
        return false;

    // A file URL keeps non-ASCII names intact on their way to the backend.
    media->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(fileInfo->absoluteFilePath())));
    levelKeeper->prepareStart();
    media->play();
    return true;
}

bool musicPlay::stop()
{
    // Stopping only a playing track would let one that is still loading or
    // buffering start a moment later; stopping a stopped object is harmless.
    media->stop();
    return true;
}

void musicPlay::pause()
{
    media->pause();
}

void musicPlay::resume()
{
    // The stream may be made anew on the way back; it gets our level first.
    levelKeeper->prepareStart();
    media->play();
}

bool musicPlay::isPaused() const
{
    return media->state() == Phonon::PausedState;
}

void musicPlay::seek(qint32 msec)
{
    switch (media->state()) {
    case Phonon::PlayingState:
    case Phonon::BufferingState:
    case Phonon::PausedState:
        media->seek(qMax<qint64>(0, msec));
        break;
    default:
        break;
    }
}

bool musicPlay::isPlaying() const
{
    return media->state() == Phonon::PlayingState;
}

Phonon::MediaObject *musicPlay::mediaObject() const
{
    return media;
}

qreal musicPlay::volume() const
{
    return levelKeeper->level();
}

bool musicPlay::isMuted() const
{
    return levelKeeper->isMuted();
}

void musicPlay::toggleMute()
{
    levelKeeper->setMuted(!levelKeeper->isMuted());
}

void musicPlay::setVolume(qreal volume)
{
    levelKeeper->setLevel(volume);
}

void musicPlay::setAttenuation(qreal factor)
{
    levelKeeper->setAttenuation(factor);
}

void musicPlay::setVolumePercent(int percent)
{
    setVolume(percent / 100.0);
}
