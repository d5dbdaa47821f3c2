#include "engine/outputlevel.h"

#include "desktop/soundserver.h"
#include "engine/playbackbackend.h"

#include <QTimer>
#include <QtGlobal>

#include <phonon/AudioOutput>
#include <phonon/MediaObject>

#include <cmath>

namespace {

// Phonon turns a loudness level into the output's amplitude with Stevens'
// power law (loudness grows with amplitude to the power 0.67).
constexpr double loudnessExponent = 0.67;

qreal bounded(qreal level)
{
    return std::isnan(level) ? 0.0 : qBound<qreal>(0.0, level, 1.0);
}

} // namespace

outputLevel::outputLevel(Phonon::MediaObject *mediaObject, Phonon::AudioOutput *audioOutput, QObject *parent)
    : QObject(parent), media(mediaObject), output(audioOutput)
{
    wanted = bounded(output->volume());
    mutedWanted = output->isMuted();
    connect(media, &Phonon::MediaObject::stateChanged, this,
            [this](Phonon::State newState, Phonon::State) { onStateChanged(newState); });
    connect(output, &Phonon::AudioOutput::volumeChanged, this, &outputLevel::onVolumeReported);
    connect(output, &Phonon::AudioOutput::mutedChanged, this, &outputLevel::onMuteReported);
}

qreal outputLevel::level() const
{
    return wanted;
}

bool outputLevel::isMuted() const
{
    return mutedWanted;
}

void outputLevel::setLevel(qreal level)
{
    wanted = bounded(level);
    corrections = 0;
    if (!mutedWanted)
        output->setVolume(effective());
}

void outputLevel::setAttenuation(qreal factor)
{
    damping = bounded(factor);
    corrections = 0;
    if (!mutedWanted)
        output->setVolume(effective());
}

void outputLevel::setMuted(bool muted)
{
    mutedWanted = muted;
    corrections = 0;
    // The framework passes a change on only when it differs from what it
    // last heard from the backend, and a new stream's report can leave it
    // believing a stream unmuted that plays muted: then an unmute would never
    // be passed on. Go through muted (silent) so that it is.
    if (!muted && !output->isMuted())
        output->setMuted(true);
    output->setMuted(muted);
    // Unmuting leaves the backend's volume at zero; put back the one in use.
    if (!muted)
        output->setVolume(effective());
    muteOnServer();
}

void outputLevel::muteOnServer()
{
    // The backend forwards a mute only when it believes the stream is in the
    // other state, and its belief trails the server's reports: a stream that
    // started muted could stay muted after an unmute. Say it to the server.
    soundServer::shared().setOwnStreamsMuted(playbackBackend::streamRestoreId(), mutedWanted);
}

int outputLevel::streamPercent(qreal level)
{
    return int(std::pow(bounded(level), 1.0 / loudnessExponent) * 100.0 + 1e-6);
}

void outputLevel::prepareStart()
{
    corrections = 0;
    starting = true;
    // The new stream is made on the backend's threads a moment after the
    // start; the server hands it what it remembers for our streams, so that
    // memory is set first, and the stream starts at our level, not louder.
    soundServer::shared().rememberStreamLevel(playbackBackend::streamRestoreId(),
                                              streamPercent(effective()) / 100.0, mutedWanted);
}

void outputLevel::apply()
{
    muteOnServer();
    if (mutedWanted) {
        output->setMuted(true);
        return;
    }
    output->setMuted(false);
    output->setVolume(effective());
}

void outputLevel::onStateChanged(Phonon::State newState)
{
    if (newState != Phonon::PlayingState)
        return;
    // A stream that is starting (or has just started) gets our level now,
    // whatever it was made with. Entered more than once per track (buffering
    // in between): the settling time counts from the first.
    if (starting) {
        starting = false;
        settling.start();
    }
    apply();
}

void outputLevel::onVolumeReported(qreal reported)
{
    if (mutedWanted || std::isnan(reported) || media->state() != Phonon::PlayingState || !isSettling())
        return;
    // Reports come back on the framework's curve and rounded by the backend;
    // compare whole percents of the stream.
    const int heard = int(std::lround(std::pow(bounded(reported), 1.0 / loudnessExponent) * 100.0));
    if (qAbs(heard - streamPercent(effective())) <= 1) {
        corrections = 0;
        return;
    }
    correctSoon();
}

void outputLevel::onMuteReported(bool reported)
{
    if (reported == mutedWanted || media->state() != Phonon::PlayingState || !isSettling())
        return;
    correctSoon();
}

bool outputLevel::isSettling() const
{
    return settling.isValid() && settling.elapsed() < settleMsec;
}

void outputLevel::correctSoon()
{
    if (correctionQueued || corrections >= maxCorrections)
        return;
    ++corrections;
    correctionQueued = true;
    QTimer::singleShot(0, this, [this] {
        correctionQueued = false;
        apply();
    });
}

#include "moc_outputlevel.cpp"
