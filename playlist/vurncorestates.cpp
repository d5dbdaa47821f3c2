// The playback controller's watch over a started track: it reaches the
// playing state, ends, or turns out unplayable, and what follows each.
#include "playlist/vurncore.h"

#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/playlist.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

#include <QFileInfo>

#include <utility>

// --- Tracks that cannot be played ----------------------------------------

void vurnCore::onStateChanged(gstEngine::State state)
{
    if (state != gstEngine::State::Playing)
        return;
    if (!trackLive) {
        // Stopped (or given up on) while it was still opening.
        player->stop();
        return;
    }
    startWatch->stop();
    const bool started = std::exchange(awaitingStart, false);
    lastFailed = false;
    failuresInRow = 0;
    resuming = Resume::None;
    if (pendingSeek >= 0)
        player->seek(std::exchange(pendingSeek, -1));
    if (playAction)
        playAction->setText(tr("■"));
    if (started)
        emit trackStarted();
    queueFollowing();
}

void vurnCore::onFailed(const QString &file)
{
    // The track queued to follow could not be opened: it counts as started
    // and failed, as if the mode had started it, so it is passed over.
    if (!queued.isEmpty() && QFileInfo(queued).absoluteFilePath() == file && trackLive && !awaitingStart) {
        const int row = queuedRow;
        forgetQueued();
        if (playlist->isValidIndex(row))
            adoptRow(row);
        awaitingStart = true;
        markFailed();
        emit trackEnded();
        return;
    }
    // The held stream cannot go on (the sound server went away, say): the
    // file is opened again at the place.
    if (resuming == Resume::InPlace) {
        awaitingStart = false;
        resuming = Resume::None;
        if (!restartAt(pausedAt))
            emit resumeFailed();
        return;
    }
    if (awaitingStart) {
        // Passed over as a track that ends at once; a failed resume is told
        // by resumeFailed instead.
        const bool wasResuming = resuming != Resume::None;
        markFailed();
        if (!wasResuming)
            emit trackEnded();
    } else if (trackLive) {
        trackLive = false;
        setPaused(false);
        forgetQueued();
        if (playAction)
            playAction->setText(tr("♪"));
    }
}

void vurnCore::onFinished()
{
    // Ended without ever having played: missing, empty or undecodable.
    const bool wasResuming = resuming != Resume::None;
    if (awaitingStart)
        markFailed();
    if (!wasResuming)
        emit trackEnded();
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
    player->stop();
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
