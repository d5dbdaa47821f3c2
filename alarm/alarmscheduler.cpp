// The main window's once-a-second alarm work: the fade-in step, the alarm
// check, and the ringing occurrence with its stop and snooze.
#include "app/mainwindow.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "alarm/alarmplaylist.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmringwindow.h"
#include "alarm/alarmschedule.h"
#include "alarm/alarmvolume.h"
#include "desktop/ringingdesktop.h"
#include "desktop/sleepinhibitor.h"
#include "desktop/trayicon.h"
#include "player/musicplay.h"
#include "player/sleeptimer.h"
#include "playlist/playlist.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "ui_MainWindow.h"

#include <QSignalBlocker>
#include <QTimer>

void MainWindow::checkAlarms()
{
    const QDateTime now = alarmClock::now();
    const alarmSchedule::Firing firing =
        schedule->check(setWin->currentAlarmList(), setWin->isAlarmEnabled(), now, core->isPlaying());
    if (firing) {
        // The scheduled alarm may be rebuilt by the settings window while a
        // command below waits in a message box: work on a copy.
        alarmOne alarm;
        alarm.assign(*firing.alarm);
        fireAlarm(alarm, firing.scheduled);
    }
    refreshAlarmStatus(alarmClock::now());
}

void MainWindow::fireAlarm(const alarmOne &alarm, const QDateTime &scheduled)
{
    // The alarm rings as usual: a sleep timer or its fade ends here, and a
    // paused track counts as stopped (the alarm starts its own from the top).
    sleeper->cancel();
    sleeper->setStopAfterTrack(false);
    loader->dropWaiting();
    if (core->isPaused())
        core->stopPlayback(ui->actionPlay);
    const alarmPlaylist::Choice playlist = alarmPlaylist::choose(alarm.playListName);
    applyModeByName(alarm.playMode);

    const QString none = QStringLiteral("しない");
    const QString minutesUnit = QStringLiteral("分");
    // "しない" for the volume, or a control that names no fade, leaves it alone.
    const bool setsVolume =
        alarm.volume != none && (alarm.volumeControl == none || alarm.volumeControl.endsWith(minutesUnit));
    if (setsVolume) {
        alarmVol->take(volumePercent());
        // Only the setting itself is the alarm's: the command below may wait
        // in a box, and what the person does meanwhile is theirs.
        const alarmVolume::Own ownVolume(*alarmVol);
        if (alarm.volumeControl == none) {
            on_volumeSlider_valueChanged(alarm.volume.toInt(nullptr, 10));
        } else {
            QString control = alarm.volumeControl;
            control.remove(QStringLiteral("フェードイン："), Qt::CaseSensitive);
            control.remove(minutesUnit, Qt::CaseSensitive);
            const double minutes = control.toDouble();
            const double target = alarm.volume.toDouble();
            if (minutes > 0) {
                rampTarget = target;
                rampStep = rampTarget / (minutes * 60);
                core->setVolumePercent(0, ui->volButton, ui->volumeSlider);
                rampLevel = 0;
            } else {
                // A fade over no time at all (hand-edited file): just set the volume.
                rampStep = 0;
                rampLevel = 0;
                on_volumeSlider_valueChanged(int(target));
            }
        }
    }

    const bool stopsPlayback = alarm.firstPlay && core->isPlaying();
    if (!stopsPlayback && playlist.ownList)
        playAlarmList(playlist.tracks);
    // Playing when it fires, "select" and "interrupt" stop the music: that is
    // what the alarm is for, so nothing rings.
    if (!stopsPlayback) {
        ringer->start(alarm, scheduled, toneVolumeFor(alarm, volumePercent()), core->player->isMuted(),
                      [this] { return core->isPlaying(); });
        if (ringDesk) {
            ringDesk->begin(scheduled, alarm.playListName, toneVolumeFor(alarm, 30));
            if (ringer->window())
                ringer->window()->setOutputWarning(ringDesk->silentWarning());
        }
        if (ringer->window())
            ringer->window()->setPlaylistNote(playlist.note);
        if (tray) {
            tray->setRinging(true);
            if (!isVisible())
                tray->showMessage(tr("Vurn - アラーム"), scheduled.time().toString(QStringLiteral("HH:mm")));
        }
    }
    // Before the command: an empty playlist opens a message box that waits
    // for the user, and the ringer's tone must not wait with it.
    const auto command = [this, firstPlay = alarm.firstPlay, stopsPlayback] {
        if (firstPlay)
            playOrStop();
        else
            on_actionNext_triggered();
        // The music it found playing is stopped and nothing rings: the occurrence is over.
        if (stopsPlayback)
            endAlarmVolume();
        // If the track it started cannot be played, the alarm moves on through
        // the playlist, once per track, rather than leave the room silent.
        if (!stopsPlayback && core->hasTracks() && ringer->isRinging() && !ringer->isToneSounding())
            alarmSkipsLeft = core->playlist->size() - 1;
    };
    // A list still coming in (a start at login, a large add): the alarm plays
    // from the rows there are, waiting only for the row its mode names.
    const int row = stopsPlayback ? -1 : alarm.firstPlay ? 0 : core->rowNamedByNext();
    if (loader->rowIsIn(row)) {
        command();
        return;
    }
    loader->whenRowIn(row, this, [this, command] {
        // Unless it was stopped or snoozed meanwhile, the tone took over, or
        // the person started a track.
        if (ringer->isRinging() && !ringer->isToneSounding() && !core->isPlaying())
            command();
    });
}

int MainWindow::toneVolumeFor(const alarmOne &alarm, int currentPercent)
{
    if (alarm.volume != QStringLiteral("しない"))
        return qBound(0, alarm.volume.toInt(nullptr, 10), 100);
    return qBound(30, currentPercent, 100);
}

void MainWindow::stopRinging()
{
    alarmSkipsLeft = 0;
    loader->dropWaiting();
    // The alarm's track may still be opening: stopped too, or it would start
    // after the ringing window closed.
    if (ringer->isRinging() || core->isPlaying() || core->isPaused())
        core->stopPlayback(ui->actionPlay);
    rampStep = 0;
    rampLevel = 0;
    endAlarmVolume();
    ringer->stop();
    if (ringDesk)
        ringDesk->end();
    if (tray)
        tray->setRinging(false);
}

void MainWindow::snoozeRinging()
{
    if (!ringer->isRinging())
        return;
    schedule->snooze(*ringer->alarm(), alarmClock::now(), setWin->snoozeMinutes());
    stopRinging();
    refreshAlarmStatus(alarmClock::now());
}

void MainWindow::refreshAlarmStatus(const QDateTime &now)
{
    const QDateTime next = schedule->nextFiring(setWin->currentAlarmList(), setWin->isAlarmEnabled(), now);
    const QString text = alarmSchedule::nextAlarmText(next);
    setWin->setNextAlarmText(text);
    const QStringList notes = alarmNotes(next);
    setWin->setAlarmNotes(notes);
    trayAlarmText = (QStringList{text} + notes).join(QLatin1Char('\n'));
    refreshTrayToolTip();
    if (ringDesk)
        ringDesk->setUpcoming(next, now);
    if (inhibitor) {
        const bool soon = next.isValid() && now.secsTo(next) <= 12 * 3600;
        inhibitor->setWanted(setWin->stayAwakeForAlarms() && soon);
    }
}

void MainWindow::stepVolumeRamp()
{
    if (!(rampStep > 0)) {
        rampStep = 0;
        rampLevel = 0;
        return;
    }
    if (!(volumePercent() < rampTarget)) {
        rampStep = 0;
        rampLevel = 0;
        return;
    }
    rampLevel += rampStep / 100;
    const alarmVolume::Own ownVolume(*alarmVol);
    core->setVolumeLevel(rampLevel, ui->volButton, ui->volumeSlider);
}

void MainWindow::noteVolumeMoved()
{
    if (!alarmVol->noteChange())
        return;
    rampStep = 0;
    rampLevel = 0;
}

void MainWindow::endAlarmVolume()
{
    rampStep = 0;
    rampLevel = 0;
    const int back = alarmVol->release();
    if (back < 0)
        return;
    const alarmVolume::Own ownVolume(*alarmVol);
    if (core->player->isMuted()) {
        // Muted while it rang: the person's volume is there again once unmuted.
        core->player->setVolumePercent(back);
        const QSignalBlocker quiet(ui->volumeSlider);
        ui->volumeSlider->setValue(back);
        return;
    }
    core->setVolumePercent(back, ui->volButton, ui->volumeSlider);
}

void MainWindow::on_track_failed()
{
    if (alarmSkipsLeft <= 0 || alarmSkipPending || !core->hasTracks())
        return;
    --alarmSkipsLeft;
    alarmSkipPending = true;
    const int failed = core->currentIndex;
    // Let the end of the failed track settle first; if something else has
    // moved on meanwhile (the end-of-track rule of a repeating mode), leave it.
    QTimer::singleShot(0, this, [this, failed] {
        alarmSkipPending = false;
        if (core->currentIndex != failed || core->isPlaying() || !core->hasTracks())
            return;
        core->playTrack((failed + 1) % core->playlist->size(), false);
    });
}
