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
    // Saved while an add is under way, the playlist holds what is still coming.
    setWin->playlists->stillComing = [this] { return loader->remainingEntries(); };
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
    // A list still coming in is set aside whole, rows and entries to come.
    alarmPlaylist::setAside(core->tracks(), loader->remainingEntries());
    loader->cancel();
    if (core->isPlaying() || core->isPaused())
        core->stopPlayback(ui->actionPlay);
    core->clearTracks();
    // Its rows come in slices; the alarm plays from those there are.
    loader->add(tracks);
    if (finder)
        finder->refilter(true);
    adjustColumns();
    refreshTotals();
    ui->playListTable->clearSelection();
    // "Next" from before the top is its first track in the forward mode, and
    // needs no other row to be in yet.
    core->currentIndex = -1;
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
