// Restoring the player state at start-up and saving it when the window closes.
#include "app/mainwindow.h"

#include "alarm/alarmliststore.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmvolume.h"
#include "desktop/trayicon.h"
#include "forms/playlistfold.h"
#include "library/musicinfo.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/playlisttab.h"
#include "settings/setwindow.h"
#include "storage/filedialogfolder.h"
#include "storage/vurnsettings.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QFileInfo>

namespace {

// About 6,000 tracks: parsed in some milliseconds.
const qint64 largeStateBytes = 1024 * 1024;

} // namespace

void MainWindow::restoreFromSettings()
{
    applyModeByName(settings->loadRepeatMode());
    dialogFolder = std::make_unique<fileDialogFolder>(settings->loadLastFolder());
    setWin->playlists->dialogFolder = dialogFolder.get();
    ui->volumeSlider->setValue(settings->loadVolume());
    setWin->setAlarmList(alarmListStore::load(*settings));
    setWin->setAlarmEnabled(settings->loadAlarmEnable());
    setWin->setAlarmOptions(settings->loadSnoozeMinutes(), settings->loadCatchUpMinutes(),
                            settings->loadKeepRunningInTray(), settings->loadStayAwakeForAlarms());
    setWin->setSoundOptions(settings->loadReplayGain(), settings->loadReplayGainPreAmp());
    // A large list is parsed on a worker thread while the window shows, its
    // rows following; a small one is in before the window shows.
    if (QFileInfo(settings->filePath).size() > largeStateBytes)
        loader->addRead(settings->playListReader());
    else
        loader->add(settings->loadPlayListEntries());
    adjustColumns();
    refreshTotals();
    restoreGeometry(settings->loadGeometry());
    restoreState(settings->loadWindowState(), 0);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // With a tray to come back from, closing only hides the window, so the
    // alarms keep their appointment.
    if (initialised && !quitting && tray && tray->isVisible() && setWin->keepRunningInTray()) {
        hide();
        tray->setWindowShown(false);
        event->ignore();
        return;
    }
    if (initialised) {
        ringer->stop();
        // Tracks still being added belong to the state that is saved now.
        loader->finishNow();
        core->stopPlayback(ui->actionPlay);
        saveToSettings();
    }
    event->accept();
}

void MainWindow::saveToSettings()
{
    // Clearing the keys instead of deleting the file: groups of removed alarms
    // and tracks still vanish, but there is never a moment without a file.
    // Saved open: the list's toolbar would otherwise be kept hidden.
    if (fold->isFolded())
        fold->unfold();
    settings->clearAll();
    settings->saveRepeatMode(currentModeText());
    // Saved while an alarm rings, the volume is still the person's.
    settings->saveVolume(alarmVol->personPercent(volumePercent()));
    alarmListStore::save(*settings, setWin->currentAlarmList());
    settings->saveAlarmEnable(setWin->isAlarmEnabled());
    settings->saveSnoozeMinutes(setWin->snoozeMinutes());
    settings->saveCatchUpMinutes(setWin->catchUpMinutes());
    settings->saveKeepRunningInTray(setWin->keepRunningInTray());
    settings->saveStayAwakeForAlarms(setWin->stayAwakeForAlarms());
    settings->saveWakeFromSleep(setWin->wakeFromSleep());
    settings->saveUnmuteForAlarms(setWin->unmuteForAlarms());
    settings->saveReplayGain(setWin->replayGainMode());
    settings->saveReplayGainPreAmp(setWin->replayGainPreAmp());
    settings->savePlayList(core->tracks());
    settings->saveWindowLayout(saveGeometry(), saveState(0));
    settings->saveLastFolder(dialogFolder->lastUsed());
    // The settings object lives on and the event loop is ending: flush now.
    settings->sync();
}
