#include "desktop/mprisplayer.h"

#include "desktop/mprisservice.h"

#include <QUrl>

mprisPlayer::mprisPlayer(mprisService *service)
    : QDBusAbstractAdaptor(service)
    , service(service)
{
}

QString mprisPlayer::playbackStatus() const
{
    return service->playbackStatus();
}

QVariantMap mprisPlayer::metadata() const
{
    return service->metadata();
}

double mprisPlayer::volume() const
{
    return service->volume();
}

void mprisPlayer::setVolume(double level)
{
    emit service->volumeRequested(qBound(0.0, level, 1.0));
}

qlonglong mprisPlayer::position() const
{
    return service->positionMsec() * 1000;
}

QString mprisPlayer::loopStatus() const
{
    return service->loopStatus();
}

void mprisPlayer::setLoopStatus(const QString &loop)
{
    const QString mode = mprisService::modeForLoopStatus(service->currentMode(), loop);
    if (!mode.isEmpty() && mode != service->currentMode())
        emit service->modeRequested(mode);
}

bool mprisPlayer::shuffle() const
{
    return service->shuffle();
}

void mprisPlayer::setShuffle(bool on)
{
    const QString mode = mprisService::modeForShuffle(service->currentMode(), on);
    if (mode != service->currentMode())
        emit service->modeRequested(mode);
}

bool mprisPlayer::hasTracks() const
{
    return service->hasTracks();
}

bool mprisPlayer::canSeek() const
{
    return service->canSeek();
}

void mprisPlayer::Next()
{
    emit service->nextRequested();
}

void mprisPlayer::Previous()
{
    emit service->previousRequested();
}

void mprisPlayer::Pause()
{
    emit service->pauseRequested();
}

void mprisPlayer::PlayPause()
{
    emit service->playPauseRequested();
}

void mprisPlayer::Stop()
{
    emit service->stopRequested();
}

void mprisPlayer::Play()
{
    emit service->playRequested();
}

void mprisPlayer::Seek(qlonglong Offset)
{
    service->seekBy(Offset);
}

void mprisPlayer::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    service->seekTo(TrackId.path(), Position);
}

void mprisPlayer::OpenUri(const QString &Uri)
{
    const QUrl url(Uri);
    if (url.isLocalFile())
        emit service->openRequested(url.toLocalFile());
}

#include "moc_mprisplayer.cpp"
