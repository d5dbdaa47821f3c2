// The main window and the saved playlists: loading one from the settings
// window, an alarm's own playlist in place of the list, and "戻す", which
// brings back the list the latest replacement took away.
#include "app/mainwindow.h"

#include "forms/findbar.h"
#include "playlist/playlist.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/playlisttab.h"
#include "settings/setwindow.h"
#include "storage/playliststore.h"
#include "storage/setasidelist.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QTableView>

namespace {
bool sameFiles(const QList<storedTrack> &a, const QList<storedTrack> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).file != b.at(i).file)
            return false;
    }
    return true;
}
} // namespace

void MainWindow::buildPlaylistControls()
{
    setAside = std::make_unique<setAsideList>();
    actionRestoreList = new QAction(tr("戻す"), this);
    actionRestoreList->setObjectName(QStringLiteral("actionRestoreList"));
    ui->playlistToolBar->addAction(actionRestoreList);
    connect(actionRestoreList, &QAction::triggered, this, &MainWindow::restoreSetAsideList);
    connect(setWin->playlists, &playlistTab::loadRequested, this, &MainWindow::loadStoredList);
    // Saved while an add is under way, the playlist holds what is still coming.
    setWin->playlists->stillComing = [this] { return loader->remainingEntries(); };
    refreshRestoreAction();
}

QList<storedTrack> MainWindow::listNow() const
{
    return playlistStore::toStored(core->tracks()) + loader->remainingEntries();
}

void MainWindow::keepReplaced(const QList<storedTrack> &incoming, setAsideCause cause, const QString &name)
{
    const QList<storedTrack> current = listNow();
    // An alarm ringing again with its own playlist (a snooze) replaces
    // nothing: the person's list stays the one kept.
    if (current.isEmpty() || sameFiles(current, incoming))
        return;
    setAside->keep(current, cause, name);
}

void MainWindow::replaceListWith(const QList<storedTrack> &tracks)
{
    // What was still being added belonged to the list being replaced.
    loader->cancel();
    core->clearTracks();
    // Unchanged files are rebuilt from what was kept, others read, in slices.
    loader->add(tracks);
}

void MainWindow::listReplaced()
{
    if (finder)
        finder->refilter(true);
    adjustColumns();
    refreshTotals();
    // Rows selected in the list that went must not stand for rows of this one.
    ui->playListTable->clearSelection();
    refreshRestoreAction();
}

void MainWindow::loadStoredList(const QList<storedTrack> &tracks, bool append, const QString &name)
{
    if (append) {
        loader->add(tracks);
        if (finder)
            finder->refilter(false);
        adjustColumns();
        refreshTotals();
        return;
    }
    keepReplaced(tracks, setAsideCause::Load, name);
    replaceListWith(tracks);
    listReplaced();
}

void MainWindow::playAlarmList(const QList<storedTrack> &tracks)
{
    keepReplaced(tracks, setAsideCause::Alarm);
    if (core->isPlaying() || core->isPaused())
        core->stopPlayback(ui->actionPlay);
    // Its rows come in slices; the alarm plays from those there are.
    replaceListWith(tracks);
    listReplaced();
    // "Next" from before the top is its first track in the forward mode, and
    // needs no other row to be in yet.
    core->currentIndex = -1;
}

void MainWindow::restoreSetAsideList()
{
    if (!setAside->has())
        return;
    replaceListWith(setAside->swap(listNow()));
    listReplaced();
}

void MainWindow::refreshRestoreAction()
{
    if (!actionRestoreList)
        return;
    actionRestoreList->setEnabled(setAside->has());
    actionRestoreList->setToolTip(setAside->description());
}
