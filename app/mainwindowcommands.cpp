// The main window's commands: toolbar actions, the playlist table, volume,
// seeking, drag and drop and the end of a track.
#include "app/mainwindow.h"

#include "app/warningboxes.h"

#include "alarm/alarmringer.h"
#include "desktop/mprisservice.h"
#include "forms/findbar.h"
#include "forms/jumptoclickstyle.h"
#include "forms/playlistfold.h"
#include "library/audioformats.h"
#include "library/collectfiles.h"
#include "player/musicplay.h"
#include "player/sleeptimer.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "playlistfiles/playlistreader.h"
#include "settings/setwindow.h"
#include "storage/filedialogfolder.h"
#include "storage/setasidelist.h"
#include "ui_MainWindow.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace {
enum MoveTarget { MoveTop, MoveUp, MoveDown, MoveBottom };
}

bool MainWindow::ensurePlayListNotEmpty()
{
    if (core->hasTracks())
        return true;
    boxes->warn(tr("プレイリストエラー"), tr("プレイリストにファイルが登録されていません。"));
    return false;
}

bool MainWindow::ensureSelection(int count)
{
    if (count > 0)
        return true;
    boxes->warn(tr("プレイリストエラー"), tr("プレイリストで削除するファイルを選択して下さい。"));
    return false;
}

QList<RowRange> MainWindow::sortedSelection() const
{
    QList<RowRange> ranges;
    const QList<RowRange> selected = RowRange::of(ui->playListTable->selectionModel()->selection());
    const bool narrowed = finder && finder->isNarrowed();
    if (narrowed)
        finder->finishNow();
    for (const RowRange &range : selected) {
        if (!narrowed) {
            ranges << range;
            continue;
        }
        // A block selected in the narrowed table also spans the hidden rows
        // between its shown ones: those tracks are not part of the command.
        int top = -1;
        for (int row = range.top; row <= range.bottom + 1; ++row) {
            const bool shown = row <= range.bottom && !ui->playListTable->isRowHidden(row);
            if (shown && top < 0)
                top = row;
            else if (!shown && top >= 0) {
                ranges << RowRange(top, range.left, range.right, row - 1);
                top = -1;
            }
        }
    }
    std::sort(ranges.begin(), ranges.end());
    return ranges;
}

void MainWindow::appendFiles(const QStringList &paths, const loadReport &skipped, bool fromDesktop)
{
    // Failures go to the window's box unless every command of the run came
    // from the desktop; a run that ended inside the call is told already.
    if (!fromDesktop)
        desktopRun = false;
    else if (!loader->isBusy())
        desktopRun = true;
    loader->addFiles(paths, skipped);
    if (!loader->isBusy())
        desktopRun = false;
    adjustColumns();
    refreshTotals();
}

void MainWindow::buildSliders()
{
    jumpToClickStyle::applyTo(ui->musicTimeBar);
    jumpToClickStyle::applyTo(ui->volumeSlider);
    // A press on the groove has already put the handle under the mouse; that
    // is where playback goes, before any drag (which seeks as it moves).
    connect(ui->musicTimeBar, &QSlider::sliderPressed, this,
            [this] { on_slider_moved(ui->musicTimeBar->sliderPosition()); });
}

void MainWindow::on_slider_moved(int position)
{
    core->seekTo(position);
    if (mpris)
        mpris->notifySeeked(position);
}

void MainWindow::on_play_finished()
{
    // "Stop after this track" and the sleep timer's end-of-track choice stop
    // here whatever the mode.
    if (sleeper->takeTrackEnd()) {
        ui->actionPlay->setText(tr("♪"));
        rampStep = 0;
        rampLevel = 0;
        endAlarmVolume();
        return;
    }
    const QString mode = core->modeText;
    const QString numbered = QStringLiteral("リピートなし：");
    const bool noRepeat = mode == QStringLiteral("リピートなし") || mode == QStringLiteral("リピートなし：ランダム")
        || mode.left(numbered.size()) == numbered;
    if (noRepeat) {
        ui->actionPlay->setText(tr("♪"));
        rampStep = 0;
        rampLevel = 0;
        // An alarm's list played to its end; not a track it is skipping past.
        if (!alarmSkipPending)
            endAlarmVolume();
        return;
    }
    // A track an alarm started that could not be played is handled by the
    // alarm's own skip-ahead (on_track_failed); don't start a second one here.
    if (alarmSkipPending)
        return;
    core->playNextAfterEnd();
}

void MainWindow::on_playListTable_doubleClicked(const QModelIndex &index)
{
    alarmSkipsLeft = 0;
    core->playTrack(index.row(), false);
}

void MainWindow::on_actionPlay_triggered()
{
    // While an alarm rings, play/stop ends it, whatever is sounding.
    if (ringer->isRinging()) {
        stopRinging();
        return;
    }
    playOrStop();
}

void MainWindow::stopPlaying()
{
    core->stopPlayback(ui->actionPlay);
    rampStep = 0;
    rampLevel = 0;
}

void MainWindow::playOrStop()
{
    alarmSkipsLeft = 0;
    if (core->isPlaying()) {
        stopPlaying();
        return;
    }
    const QList<RowRange> ranges = RowRange::of(ui->playListTable->selectionModel()->selection());
    // Paused, play goes on with the paused track unless another is selected.
    if (core->isPaused() && (ranges.isEmpty() || ranges.first().top == core->currentIndex)) {
        resumeOrMoveOn();
        return;
    }
    if (!ensurePlayListNotEmpty())
        return;
    const int row = ranges.isEmpty() ? 0 : ranges.first().top;
    // A row at the row count is already past the end.
    if (row >= ui->playListTable->model()->rowCount()) {
        boxes->warn(tr("プレイリスト選択エラー"), tr("プレイリストから再生するファイルを選択して下さい。"));
        return;
    }
    core->playTrack(row, false);
}

void MainWindow::on_actionFace_triggered()
{
    // A window made this short by hand counts as folded: the command opens it.
    if (!fold->isFolded() && height() > 125) {
        fold->fold();
        ui->actionFace->setText(tr("▼"));
    } else {
        fold->unfold();
        ui->actionFace->setText(tr("▲"));
    }
}

void MainWindow::on_actionSettings_triggered()
{
    setWin->setTrackList(core->tracks());
    setWin->refreshPlaylists();
    setWin->show();
    setWin->refreshAlarmTable();
}

void MainWindow::on_actionAdd_triggered()
{
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, tr("ファイルを選択して下さい。"), dialogFolder->startFolder(),
        tr("音楽ファイル(%1 );;").arg(audioFormats::patterns())
            + tr("プレイリスト(*.m3u *.m3u8 *.pls *.xspf);;すべてのファイル(*)"));
    if (!paths.isEmpty())
        dialogFolder->remember(paths.first());
    loadReport skipped;
    const QStringList files = playlistReader::expand(paths, skipped);
    appendFiles(files, skipped);
}

void MainWindow::on_actionMode_triggered()
{
    modeMenu->exec(QCursor::pos());
}

void MainWindow::on_actionNext_triggered()
{
    alarmSkipsLeft = 0;
    if (ensurePlayListNotEmpty())
        core->playNext();
}

void MainWindow::on_actionBack_triggered()
{
    alarmSkipsLeft = 0;
    if (ensurePlayListNotEmpty())
        core->playPrevious();
}

void MainWindow::on_actionDel_triggered()
{
    if (!ensurePlayListNotEmpty())
        return;
    QList<RowRange> ranges = sortedSelection();
    if (!ensureSelection(ranges.size()))
        return;
    // Bottom block first, so the rows of the blocks above keep their numbers.
    while (!ranges.isEmpty()) {
        const RowRange range = ranges.takeLast();
        core->removeTracks(range.top, range.bottom);
    }
    if (finder)
        finder->refilter(true);
    adjustColumns();
    refreshTotals();
}

void MainWindow::on_actionClear_triggered()
{
    if (!ensurePlayListNotEmpty())
        return;
    const auto answer = QMessageBox::question(
        this, tr("プレイリストクリア"), tr("プレイリストをクリアします。よろしいですか？"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoButton);
    if (answer == QMessageBox::Cancel)
        return;
    // Kept for "戻す"; the rest of a large add is dropped with the list.
    keepReplaced({}, setAsideCause::Clear);
    replaceListWith({});
    listReplaced();
}

void MainWindow::moveSelectionTo(int which)
{
    if (!ensurePlayListNotEmpty())
        return;
    const QList<RowRange> ranges = sortedSelection();
    if (!ensureSelection(ranges.size()))
        return;
    int target = 0;
    switch (which) {
    case MoveTop: target = 0; break;
    case MoveUp: target = ranges.first().top - 1; break;
    case MoveDown: target = ranges.first().bottom + 1; break;
    case MoveBottom: target = ui->playListTable->model()->rowCount(); break;
    }
    if (finder && finder->isNarrowed()) {
        // One step in the narrowed table passes the hidden rows next to the
        // block, so that the move shows.
        QTableView *table = ui->playListTable;
        const int rows = table->model()->rowCount();
        if (which == MoveUp) {
            while (target > 0 && table->isRowHidden(target))
                --target;
        } else if (which == MoveDown) {
            target = ranges.last().bottom + 1;
            while (target < rows - 1 && table->isRowHidden(target))
                ++target;
        }
    }
    core->moveSelection(target, ranges);
    if (finder && finder->isNarrowed())
        finder->refilter();
}

void MainWindow::on_actionTop_triggered()
{
    moveSelectionTo(MoveTop);
}

void MainWindow::on_actionUp_triggered()
{
    moveSelectionTo(MoveUp);
}

void MainWindow::on_actionDown_triggered()
{
    moveSelectionTo(MoveDown);
}

void MainWindow::on_actionBottom_triggered()
{
    moveSelectionTo(MoveBottom);
}

void MainWindow::on_volumeSlider_valueChanged(int value)
{
    noteVolumeMoved();
    core->setVolumePercent(value, ui->volButton, ui->volumeSlider);
    if (mpris)
        mpris->refresh();
}

void MainWindow::on_volButton_clicked()
{
    core->toggleMute(ui->volButton);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!data || !data->hasUrls())
        return;
    QStringList paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls)
        paths << url.toLocalFile();
    addPaths(paths);
}

void MainWindow::addPathsFromDesktop(const QStringList &paths)
{
    if (paths.isEmpty() || !initialised) {
        addPaths(paths);
        return;
    }
    loadReport skipped;
    const QStringList expanded = playlistReader::expand(paths, skipped);
    appendFiles(collectFiles(expanded), skipped, true);
}

void MainWindow::addPaths(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    if (!initialised) {
        pendingPaths += paths;
        return;
    }
    // A playlist file named here adds its tracks in order; inside folders
    // playlists are passed over, as covers and logs are.
    loadReport skipped;
    const QStringList expanded = playlistReader::expand(paths, skipped);
    appendFiles(collectFiles(expanded), skipped);
}
