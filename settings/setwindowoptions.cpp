// The settings window's options tab: snooze, catching up, the tray, and what
// the desktop may do for an alarm (wake, unmute, stay awake, start at login).
#include "settings/setwindow.h"

#include "ui_setWindow.h"

int setWindow::snoozeMinutes() const
{
    return snooze;
}

int setWindow::catchUpMinutes() const
{
    return catchUp;
}

bool setWindow::keepRunningInTray() const
{
    return tray;
}

bool setWindow::stayAwakeForAlarms() const
{
    return stayAwake;
}

void setWindow::setAlarmOptions(int snoozeValue, int catchUpValue, bool trayValue, bool stayAwakeValue)
{
    snooze = snoozeValue;
    catchUp = catchUpValue;
    tray = trayValue;
    stayAwake = stayAwakeValue;
    refreshOptions();
}

void setWindow::refreshOptions()
{
    const int snoozeIndex = ui->snoozeCombo->findData(snooze);
    ui->snoozeCombo->setCurrentIndex(snoozeIndex >= 0 ? snoozeIndex : 0);
    const int catchUpIndex = ui->catchUpCombo->findData(catchUp);
    ui->catchUpCombo->setCurrentIndex(catchUpIndex >= 0 ? catchUpIndex : 0);
    ui->trayCheckBox->setChecked(tray);
    ui->stayAwakeCheckBox->setChecked(stayAwake);
    ui->wakeCheckBox->setChecked(wake && wakeAvailable);
    ui->unmuteCheckBox->setChecked(unmute);
    ui->autostartCheckBox->setChecked(atLogin);
}

bool setWindow::wakeFromSleep() const
{
    return wake;
}

bool setWindow::unmuteForAlarms() const
{
    return unmute;
}

bool setWindow::startAtLogin() const
{
    return atLogin;
}

void setWindow::setDesktopOptions(bool wakeValue, bool unmuteValue, bool atLoginValue)
{
    wake = wakeValue;
    unmute = unmuteValue;
    atLogin = atLoginValue;
    refreshOptions();
}

void setWindow::setWakeAvailable(bool available, const QString &reason)
{
    wakeAvailable = available;
    ui->wakeCheckBox->setEnabled(available);
    ui->wakeCheckBox->setToolTip(
        available ? tr("スリープ中のパソコンをアラームの1分前に起こします（24時間以内のアラーム）。")
                  : tr("この環境ではスリープから起こせません：%1").arg(reason));
    refreshOptions();
}

bool setWindow::isWakeAvailable() const
{
    return wakeAvailable;
}

void setWindow::setStayAwakeAvailable(bool available)
{
    ui->stayAwakeCheckBox->setToolTip(
        available ? tr("次のアラームが12時間以内にある間、パソコンがスリープしないようにします。")
                  : tr("この環境ではスリープを止められないため、この設定は働きません（logind が見つかりません）。"));
}
