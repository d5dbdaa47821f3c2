// The main window and the saved playlists: loading one from the settings
// window, an alarm's own playlist in place of the list, and taking the list
// back afterwards.
#include "app/mainwindow.h"

#include "alarm/alarmplaylist.h"
#include "engine/playlist.h"
#include "engine/trackloader.h"
#include "engine/vurncore.h"
#include "forms/findbar.h"
#include "settings/playlisttab.h"
#include "settings/setwindow.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QTableView>

void MainWindow::buildPlaylistControls()
{
    actionRestoreList = new QAction(tr("戻す"), this);
    actionRestoreList->setObjectName(QStringLiteral("actionRestoreList"));
    actionRestoreList->setToolTip(tr("アラームが鳴らしたプレイリストから、その前のプレイリストに戻します"));
    ui->playlistToolBar->addAction(actionRestoreList);
    connect(actionRestoreList, &QAction::triggered, this, &MainWindow::restoreListBeforeAlarm);
    connect(setWin->playlists, &playlistTab::loadRequested, this, &MainWindow::loadStoredList);
    refreshRestoreAction();
}

void MainWindow::loadStoredList(const QList<storedTrack> &tracks, bool append)
{
    if (!append) {
        // What was still being added belonged to the list being replaced.
        loader->cancel();
        core->clearTracks();
    }
    // Unchanged files are rebuilt from what was kept, others read, in slices.
    loader->add(tracks);
    if (finder)
        finder->refilter(!append);
    adjustColumns();
    refreshTotals();
}

void MainWindow::playAlarmList(const QList<storedTrack> &tracks)
{
    alarmPlaylist::setAside(core->tracks());
    loader->cancel();
    if (core->isPlaying() || core->isPaused())
        core->stopPlayback(ui->actionPlay);
    core->clearTracks();
    loader->add(tracks);
    // The alarm starts now: every row must be there to choose from.
    loader->finishNow();
    if (finder)
        finder->refilter(true);
    adjustColumns();
    refreshTotals();
    ui->playListTable->clearSelection();
    // "Next" from the end of the list is its first track in the forward mode.
    core->currentIndex = core->playlist->size() - 1;
    refreshRestoreAction();
}

void MainWindow::restoreListBeforeAlarm()
{
    if (!alarmPlaylist::hasAside())
        return;
    loadStoredList(alarmPlaylist::takeAside(), false);
    refreshRestoreAction();
}

void MainWindow::refreshRestoreAction()
{
    if (actionRestoreList)
        actionRestoreList->setVisible(alarmPlaylist::hasAside());
}
