// The playback controller's watch over a started track: it reaches the
// playing state, ends, or turns out unplayable, and what follows each.
#include "engine/vurncore.h"

#include "engine/musicinfo.h"
#include "engine/musicplay.h"
#include "engine/playlist.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

#include <phonon/MediaObject>

// --- Tracks that cannot be played ----------------------------------------

void vurnCore::onStateChanged(Phonon::State newState, Phonon::State)
{
    if (newState == Phonon::PlayingState) {
        // A file no decoder accepts passes through the playing state for a
        // moment on its way to the end; by the time that news arrives here
        // the backend has stopped again. Only a track still playing counts.
        if (player->mediaObject()->state() != Phonon::PlayingState)
            return;
        // Entered more than once per track (buffering in between): all of
        // this is idempotent.
        if (!trackLive) {
            // Stopped (or given up on) while it was still loading.
            player->mediaObject()->stop();
            return;
        }
        startWatch->stop();
        awaitingStart = false;
        lastFailed = false;
        failuresInRow = 0;
        resuming = Resume::None;
        if (pendingSeek >= 0)
            player->seek(qint32(std::exchange(pendingSeek, -1)));
        if (playAction)
            playAction->setText(tr("■"));
    } else if (newState == Phonon::ErrorState) {
        // A late report about a source that has since been replaced is not
        // about the track now starting.
        if (player->mediaObject()->state() != Phonon::ErrorState)
            return;
        if (awaitingStart) {
            markFailed();
        } else if (trackLive) {
            trackLive = false;
            setPaused(false);
            if (playAction)
                playAction->setText(tr("♪"));
        }
    }
}

void vurnCore::onFinished()
{
    // Ended without ever having played: missing, empty or undecodable.
    if (awaitingStart)
        markFailed();
}

void vurnCore::onStartTimeout()
{
    if (!awaitingStart)
        return;
    // The held stream did not come back: open the file again where it was.
    if (resuming == Resume::InPlace) {
        awaitingStart = false;
        if (!restartAt(pausedAt))
            emit resumeFailed();
        return;
    }
    // Whatever the backend is still trying to do, it must not start sounding
    // later while the window shows the track as stopped.
    trackLive = false;
    player->mediaObject()->stop();
    markFailed();
}

void vurnCore::markFailed(bool now)
{
    if (!awaitingStart)
        return;
    awaitingStart = false;
    startWatch->stop();
    lastFailed = true;
    ++failuresInRow;
    if (playAction)
        playAction->setText(tr("♪"));
    if (std::exchange(resuming, Resume::None) != Resume::None)
        QMetaObject::invokeMethod(this, [this] { emit resumeFailed(); }, Qt::QueuedConnection);
    if (now) {
        emit trackFailed();
        return;
    }
    // Reported from inside the call that tried to start the track: the
    // caller (an alarm, say) only gets ready for a failure once that call has
    // returned.
    QMetaObject::invokeMethod(this, [this] { emit trackFailed(); }, Qt::QueuedConnection);
}

bool vurnCore::lastTrackFailed() const
{
    return lastFailed;
}

bool vurnCore::playNextAfterEnd()
{
    const int size = playlist->size();
    // Each round either starts a track or adds a failure, so this ends after
    // at most one pass over the list.
    for (int round = 0; round <= size; ++round) {
        if (size == 0)
            break;
        if (lastFailed && (modeText == QStringLiteral("1曲リピート") || failuresInRow >= size))
            break;
        if (playNext())
            return true;
        // A missing file fails at once; the next round moves past it.
        if (!lastFailed)
            break;
    }
    failuresInRow = 0;
    stopPlayback(playAction);
    return false;
}
