#include "alarm/alarm_set_window.h"

#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "alarm/setwindowcore.h"
#include "storage/storedchoice.h"

#include "forms/textfit.h"
#include "ui_alarm_set_window.h"

#include <QTime>

alarm_set_window::alarm_set_window(QWidget *parent)
    : QDialog(parent), ui(new Ui::alarm_set_window)
{
    ui->setupUi(this);
    setWindowTitle(tr("Vurn Settings - アラーム一括設定"));
    textFit::fitWindow(this);
}

alarm_set_window::~alarm_set_window()
{
    delete ui;
}

namespace {

// The words of the stored items, each item holding its stored text.
void refill(QComboBox *box, const QStringList &items)
{
    box->clear();
    for (const QString &item : items)
        box->addItem(storedChoice::shown(item), item);
    box->setCurrentIndex(0);
}

} // namespace

void alarm_set_window::prepare(setWindowCore *target)
{
    core = target;
    const int trackCount = core ? core->trackList.size() : 0;
    refill(ui->playlistBox, alarmList::playListItems());
    refill(ui->modeBox, alarmList::playModeItems(trackCount));
    refill(ui->volumeListBox, alarmList::volumeItems());
    refill(ui->volumeControlBox, alarmList::volumeControlItems());
}

void alarm_set_window::on_pushButton_clicked()
{
    const int count = ui->timeCount->text().toInt(nullptr, 10);
    if (core && count > 0) {
        const QTime start = ui->timeEdit->time();
        const int intervalSecs = ui->intervalTime->text().toInt(nullptr, 10) * 60;

        const bool week[7] = {ui->check_mon->isChecked(), ui->check_tue->isChecked(),
                              ui->check_wed->isChecked(), ui->check_thu->isChecked(),
                              ui->check_fri->isChecked(), ui->check_sat->isChecked(),
                              ui->check_sun->isChecked()};
        const QString mode = ui->modeBox->currentData().toString();
        const QString playListName = ui->playlistBox->currentData().toString();
        const bool firstPlay = ui->check_select_play->isChecked();
        const bool interrupt = ui->check_interrupt->isChecked();
        const QString volume = ui->volumeListBox->currentData().toString();
        const QString volumeControl = ui->volumeControlBox->currentData().toString();

        for (int i = 0; i < count; ++i) {
            // Wall-clock arithmetic on the time of day alone, so the series wraps
            // past midnight and no daylight-saving jump can shift an alarm.
            const QTime when = start.addSecs(i * intervalSecs);
            auto *alarm = new alarmOne(core->alarms);
            alarm->enabled = true;
            alarm->hour = when.toString(QStringLiteral("HH"));
            alarm->minute = when.toString(QStringLiteral("mm"));
            for (int day = 0; day < 7; ++day)
                alarm->week[day] = week[day];
            alarm->playListName = playListName;
            alarm->playMode = mode;
            alarm->firstPlay = firstPlay;
            alarm->interrupt = interrupt;
            alarm->volume = volume;
            alarm->volumeControl = volumeControl;
            core->alarms->append(alarm);
            core->addAlarmRow(alarm);
        }
    }
    close();
}

void alarm_set_window::on_pushButton_2_clicked()
{
    close();
}

namespace {

// Checks every box unless all are checked already, in which case it unchecks them.
void toggleAll(std::initializer_list<QCheckBox *> boxes)
{
    bool allChecked = true;
    for (QCheckBox *box : boxes)
        allChecked = allChecked && box->isChecked();
    for (QCheckBox *box : boxes)
        box->setChecked(!allChecked);
}

} // namespace

void alarm_set_window::on_checkButton_m_f_clicked()
{
    toggleAll({ui->check_mon, ui->check_tue, ui->check_wed, ui->check_thu, ui->check_fri});
}

void alarm_set_window::on_checkButton_s_s_clicked()
{
    toggleAll({ui->check_sat, ui->check_sun});
}

void alarm_set_window::on_checkButton_all_clicked()
{
    toggleAll({ui->check_mon, ui->check_tue, ui->check_wed, ui->check_thu, ui->check_fri,
               ui->check_sat, ui->check_sun});
}

#include "moc_alarm_set_window.cpp"
