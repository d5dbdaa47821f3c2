// The settings window's options tab: snooze, catching up, the tray, what
// the desktop may do for an alarm (wake, unmute, stay awake, start at login),
// and ReplayGain.
#include "settings/setwindow.h"

#include "storage/vurnsettings.h"

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
    const int gainIndex = ui->replayGainCombo->findData(gainMode);
    ui->replayGainCombo->setCurrentIndex(gainIndex >= 0 ? gainIndex : 1);
    ui->preAmpSpin->setValue(preAmp);
}

void setWindow::fillSoundChoices()
{
    const QStringList names{tr("オフ"), tr("トラック"), tr("アルバム")};
    const QStringList modes = vurnSettings::replayGainModes();
    for (int i = 0; i < modes.size(); ++i)
        ui->replayGainCombo->addItem(names.value(i), modes.at(i));
    ui->replayGainCombo->setToolTip(tr("曲のReplayGain情報で音の大きさをそろえます。情報のない曲はそのままの大きさで鳴ります。"));
    connect(ui->replayGainCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this] { ui->preAmpSpin->setEnabled(ui->replayGainCombo->currentData().toString() != QLatin1String("off")); });
}

void setWindow::takeSoundOptions()
{
    gainMode = ui->replayGainCombo->currentData().toString();
    preAmp = ui->preAmpSpin->value();
}

QString setWindow::replayGainMode() const
{
    return gainMode;
}

int setWindow::replayGainPreAmp() const
{
    return preAmp;
}

void setWindow::setSoundOptions(const QString &mode, int preAmpDb)
{
    gainMode = vurnSettings::replayGainModes().contains(mode) ? mode : QStringLiteral("track");
    preAmp = qBound(-15, preAmpDb, 15);
    refreshOptions();
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
