// The controller's queue for gapless play: the track the mode will choose
// next is handed to the player ahead of the end, and becomes the current
// track when it is heard.
#include "playlist/vurncore.h"

#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/playlist.h"

#include <QAbstractSlider>
#include <QAction>
#include <QFileInfo>
#include <QTimer>

namespace {

QString absolute(const QString &file)
{
    return file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
}

} // namespace

void vurnCore::queueFollowing()
{
    // Asked again and again with the same answer, the player is told only
    // of a change; one after the engine took the file withdraws it.
    QString want;
    int row = -1;
    const QString numbered = QStringLiteral("リピートなし：");
    const bool stopsAtEnd = modeText == QStringLiteral("リピートなし") || modeText.startsWith(numbered)
        || (endsWithThisTrack && endsWithThisTrack());
    if (trackLive && !stopsAtEnd && !lastFailed) {
        row = followingRow();
        if (playlist->isValidIndex(row))
            want = playlist->at(row)->filePath;
        else
            row = -1;
    }
    queuedRow = row;
    if (want == queued)
        return;
    queued = want;
    player->setNextFile(want);
}

void vurnCore::forgetQueued()
{
    queued.clear();
    queuedRow = -1;
    player->setNextFile(QString());
}

void vurnCore::onMovedToNext(const QString &file)
{
    // The queued row is where the file was when it was queued; the list may
    // have changed since.
    int index = -1;
    if (playlist->isValidIndex(queuedRow) && absolute(playlist->at(queuedRow)->filePath) == file)
        index = queuedRow;
    for (int row = 0; index < 0 && row < playlist->size(); ++row) {
        if (absolute(playlist->at(row)->filePath) == file)
            index = row;
    }
    queued.clear();
    queuedRow = -1;
    if (index < 0) {
        // Removed from the list while it was on its way: it plays, nameless
        // in the list, and the mode goes on from where it was.
        currentGone = true;
        currentTitle = player->title;
        showTitle();
    } else {
        adoptRow(index);
    }
    emit trackStarted();
    queueFollowing();
}

void vurnCore::adoptRow(int index)
{
    if (modeText == QStringLiteral("シャッフル") && !shuffleOrder.isEmpty() && int(shuffleOrder.last()) == index)
        shuffleOrder.removeLast();
    drawnRow = -1;
    // The same history a started track leaves.
    pushHistory(index);
    pushHistory(index);
    musicInfo *track = playlist->at(index);
    currentIndex = index;
    currentGone = false;
    currentTitle = track->title;
    lastFailed = false;
    failuresInRow = 0;
    trackLive = true;
    showTitle();
    if (seekSlider)
        seekSlider->setMaximum(player->lengthMsec);
    updatePosition(0, player->lengthMsec);
    selectOnly(index);
}
