#include "player/musicplay.h"

#include "library/loadreport.h"

#include <QFileInfo>
#include <QtGlobal>

#include <limits>

musicPlay::musicPlay()
    : musicInfo(nullptr)
{
    sound = new gstEngine(this);
    connect(sound, &gstEngine::stateChanged, this, &musicPlay::stateChanged);
    connect(sound, &gstEngine::finished, this, &musicPlay::finished);
    connect(sound, &gstEngine::failed, this, &musicPlay::failed);
    connect(sound, &gstEngine::lengthChanged, this, &musicPlay::onLength);
    connect(sound, &gstEngine::movedToNext, this, [this](const QString &file) {
        describe(file);
        emit movedToNext(file);
    });
}

musicPlay::~musicPlay()
{
    disconnect(sound, nullptr, this, nullptr);
    sound->stop();
}

void musicPlay::describe(const QString &file)
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
}

bool musicPlay::playFile(const QString &file)
{
    describe(file);
    if (!fileInfo)
        return false;
    const QString target = fileInfo->filePath();
    if (target.isEmpty() || !fileInfo->exists() || !fileInfo->isFile())
        return false;
    return sound->playFile(fileInfo->absoluteFilePath());
}

void musicPlay::onLength(qint64 msec)
{
    // The tags count whole seconds; the decoder knows better only when they
    // disagree with the data by more than that. The seek bar and the time
    // shown follow it then.
    if (msec <= 0 || msec > std::numeric_limits<qint32>::max() || qAbs(msec - lengthMsec) < 1000)
        return;
    lengthMsec = qint32(msec);
    emit lengthKnown(msec);
}

bool musicPlay::stop()
{
    // Also stops a file still being opened, which would otherwise start a
    // moment later.
    sound->stop();
    return true;
}

void musicPlay::pause()
{
    sound->pause();
}

void musicPlay::resume()
{
    sound->resume();
}

bool musicPlay::isPaused() const
{
    return sound->isPaused();
}

void musicPlay::seek(qint64 msec)
{
    sound->seek(qMax<qint64>(0, msec));
}

bool musicPlay::isPlaying() const
{
    return sound->isPlaying();
}

musicPlay::State musicPlay::state() const
{
    return sound->state();
}

qint64 musicPlay::position() const
{
    return sound->position();
}

void musicPlay::setNextFile(const QString &file)
{
    sound->setNextFile(file);
}

QString musicPlay::nextFile() const
{
    return sound->nextFile();
}

qreal musicPlay::volume() const
{
    return sound->volume();
}

bool musicPlay::isMuted() const
{
    return sound->isMuted();
}

void musicPlay::toggleMute()
{
    sound->setMuted(!sound->isMuted());
}

void musicPlay::setVolume(qreal volume)
{
    sound->setVolume(volume);
}

void musicPlay::setAttenuation(qreal factor)
{
    sound->setAttenuation(factor);
}

void musicPlay::setReplayGain(gstEngine::ReplayGain mode, double preAmpDb, double untaggedDb)
{
    sound->setReplayGain(mode, preAmpDb, untaggedDb);
}

void musicPlay::setVolumePercent(int percent)
{
    setVolume(percent / 100.0);
}
