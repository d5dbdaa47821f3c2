#include "engine/musicplay.h"

#include "engine/loadreport.h"

#include <QFileInfo>
#include <QUrl>
#include <QtGlobal>

#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>

#include <cmath>

namespace {

qreal boundedVolume(qreal volume)
{
    if (std::isnan(volume))
        return 0.0;
    return qBound<qreal>(0.0, volume, 1.0);
}

} // namespace

musicPlay::musicPlay()
    : musicInfo(nullptr)
{
    media = new Phonon::MediaObject(this);
    output = new Phonon::AudioOutput(Phonon::MusicCategory, this);
    path = Phonon::createPath(media, output);
    // The backend reports back a volume slightly off the one set, so the
    // player remembers its own from here on.
    level = boundedVolume(output->volume());
    muted = output->isMuted();
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
        report.show(nullptr);
    }

    if (!fileInfo)
        return false;
    const QString target = fileInfo->filePath();
    if (target.isEmpty() || !fileInfo->exists() || !fileInfo->isFile())
        return false;

    // A file URL keeps non-ASCII names intact on their way to the backend.
    media->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(fileInfo->absoluteFilePath())));
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
    return level;
}

bool musicPlay::isMuted() const
{
    return muted;
}

void musicPlay::toggleMute()
{
    muted = !muted;
    output->setMuted(muted);
    // Unmuting leaves the backend's volume at zero; put back the one in use.
    if (!muted)
        output->setVolume(level);
}

void musicPlay::setVolume(qreal volume)
{
    level = boundedVolume(volume);
    // While muted the level is only remembered; unmuting applies it.
    if (!muted)
        output->setVolume(level);
}

void musicPlay::setVolumePercent(int percent)
{
    setVolume(percent / 100.0);
}
