// Pausing and resuming the track that plays.
#include "playlist/vurncore.h"

#include "player/musicplay.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>


bool vurnCore::isPaused() const
{
    return paused;
}

void vurnCore::setPaused(bool on)
{
    if (paused == on)
        return;
    paused = on;
    if (titleLabel) {
        const QString mark = tr("（一時停止）");
        QString text = titleLabel->text();
        if (on && !text.startsWith(mark))
            text.prepend(mark);
        else if (!on && text.startsWith(mark))
            text.remove(0, mark.size());
        titleLabel->setText(text);
    }
    emit pausedChanged(on);
}

bool vurnCore::pausePlayback()
{
    if (paused || !trackLive || !player->isPlaying())
        return false;
    pausedAt = player->position();
    player->pause();
    if (playAction)
        playAction->setText(tr("♪"));
    setPaused(true);
    return true;
}

bool vurnCore::resumePlayback()
{
    if (!paused)
        return false;
    setPaused(false);
    // The held stream goes on however long the pause; only a file gone
    // meanwhile is opened again, which tells the person it is gone.
    if (!QFileInfo::exists(player->filePath))
        return restartAt(pausedAt);
    resuming = Resume::InPlace;
    awaitingStart = true;
    startWatch->start(qMax(0, startTimeoutMsec));
    player->resume();
    if (playAction)
        playAction->setText(tr("■"));
    return true;
}

bool vurnCore::restartAt(qint64 position)
{
    const QString file = player->filePath;
    stopPlayback(playAction);
    // Shows the described warning when the file is gone.
    if (!player->playFile(file))
        return false;
    resuming = Resume::Reopened;
    pendingSeek = position;
    trackLive = true;
    awaitingStart = true;
    startWatch->start(qMax(0, startTimeoutMsec));
    if (playAction)
        playAction->setText(tr("■"));
    return true;
}

qint64 vurnCore::positionMsec() const
{
    if (paused)
        return pausedAt;
    return player->isPlaying() ? player->position() : 0;
}

void vurnCore::seekTo(qint64 msec)
{
    const qint64 target = qBound<qint64>(0, msec, qMax(0, player->lengthMsec));
    if (paused) {
        pausedAt = target;
        updatePosition(target, player->lengthMsec);
    }
    player->seek(target);
}
