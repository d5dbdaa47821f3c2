// The main window's once-a-second alarm work: the fade-in step and the alarm check.
#include "app/mainwindow.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "engine/playlist.h"
#include "engine/vurncore.h"
#include "settings/setwindow.h"
#include "ui_MainWindow.h"

#include <QTimer>

bool MainWindow::alarmFired = false;
int MainWindow::alarmFiredMinute = 60;

void MainWindow::checkAlarms()
{
    const alarmList *alarms = setWin->currentAlarmList();
    if (!setWin->isAlarmEnabled())
        return;
    if (!alarms || alarms->size() == 0)
        return;

    const QDateTime now = alarmClock::now();
    const int hour = now.time().hour();
    const int minute = now.time().minute();
    const int weekday = now.date().dayOfWeek();

    if (alarmFired) {
        if (minute == alarmFiredMinute)
            return;
        alarmFired = false;
    }

    for (const alarmOne *alarm : *alarms) {
        if (!alarm->enabled || !alarm->week[weekday - 1])
            continue;
        if (alarm->hour.toInt(nullptr, 10) != hour)
            continue;
        if (alarm->minute.toInt(nullptr, 10) != minute || alarmFired)
            continue;
        if (core->isPlaying() && !alarm->interrupt)
            continue;

        alarmFired = true;
        alarmFiredMinute = minute;
        applyModeByName(alarm->playMode);

        const QString none = tr("しない");
        const QString minutesUnit = tr("分");
        if (alarm->volumeControl == none) {
            if (alarm->volume != none)
                on_volumeSlider_valueChanged(alarm->volume.toInt(nullptr, 10));
        } else if (alarm->volume != none && alarm->volumeControl.endsWith(minutesUnit)) {
            QString control = alarm->volumeControl;
            control.remove(tr("フェードイン："), Qt::CaseSensitive);
            control.remove(minutesUnit, Qt::CaseSensitive);
            const double minutes = control.toDouble();
            const double target = alarm->volume.toDouble();
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

        const bool stopsPlayback = alarm->firstPlay && core->isPlaying();
        if (alarm->firstPlay)
            on_actionPlay_triggered();
        else
            on_actionNext_triggered();
        // If the track it started cannot be played, the alarm moves on through
        // the playlist, once per track, rather than leave the room silent.
        if (!stopsPlayback && core->hasTracks())
            alarmSkipsLeft = core->playlist->size() - 1;
        break; // at most one alarm fires per minute
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
    core->setVolumeLevel(rampLevel, ui->volButton, ui->volumeSlider);
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
