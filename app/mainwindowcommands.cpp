// The main window's commands: toolbar actions, the playlist table, volume,
// seeking, drag and drop and the end of a track.
#include "app/mainwindow.h"

#include "alarm/alarmringer.h"
#include "desktop/mprisservice.h"
#include "engine/collectfiles.h"
#include "engine/musicplay.h"
#include "engine/playlistreader.h"
#include "engine/sleeptimer.h"
#include "engine/trackloader.h"
#include "engine/vurncore.h"
#include "forms/findbar.h"
#include "settings/setwindow.h"
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
    QMessageBox::warning(this, tr("プレイリストエラー"),
                         tr("プレイリストにファイルが登録されていません。"), QMessageBox::Ok);
    return false;
}

bool MainWindow::ensureSelection(int count)
{
    if (count > 0)
        return true;
    QMessageBox::warning(this, tr("プレイリストエラー"),
                         tr("プレイリストで削除するファイルを選択して下さい。"), QMessageBox::Ok);
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

void MainWindow::appendFiles(const QStringList &paths, const loadReport &skipped)
{
    loader->addFiles(paths, skipped);
    adjustColumns();
    refreshTotals();
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
        return;
    }
    const QString mode = core->modeText;
    const QString numbered = tr("リピートなし：");
    const bool noRepeat = mode == tr("リピートなし") || mode == tr("リピートなし：ランダム")
        || mode.left(numbered.size()) == numbered;
    if (noRepeat) {
        ui->actionPlay->setText(tr("♪"));
        rampStep = 0;
        rampLevel = 0;
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
        QMessageBox::warning(this, tr("プレイリスト選択エラー"),
                             tr("プレイリストから再生するファイルを選択して下さい。"),
                             QMessageBox::Ok);
        return;
    }
    core->playTrack(row, false);
}

void MainWindow::on_actionFace_triggered()
{
    const int currentHeight = height();
    const int currentWidth = width();
    if (currentHeight > 125) {
        savedHeight = currentHeight;
        resize(currentWidth, 125);
        ui->actionFace->setText(tr("▼"));
    } else {
        resize(currentWidth, savedHeight);
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
        this, tr("ファイルを選択して下さい。"), QString(),
        tr("音楽ファイル(*.mp3 *.wma *.wav *.ogg *.oga *.m4a *.mpa *.m2a *.flac *.tta *.ape );;"
           "プレイリスト(*.m3u *.m3u8 *.pls *.xspf);;"
           "すべてのファイル(*)"));
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
    // Rows still coming in (an alarm's own playlist, a large add) belong to the list cleared.
    loader->cancel();
    core->clearTracks();
    if (finder)
        finder->refilter(true);
    adjustColumns();
    refreshTotals();
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
