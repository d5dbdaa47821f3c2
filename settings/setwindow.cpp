#include "settings/setwindow.h"

#include "alarm/alarm_set_window.h"
#include "alarm/alarmclock.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmschedule.h"
#include "alarm/setwindowcore.h"
#include "playlist/vurncore.h"
#include "settings/playlisttab.h"
#include "storage/vurnsettings.h"

#include "forms/textfit.h"
#include "storage/shippedfiles.h"
#include "ui_setWindow.h"

#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace {

// Widths of the alarm table's sixteen columns, left to right.
const int alarmColumnWidths[] = {40, 40, 40, 30, 30, 30, 30, 30, 30, 30, 120, 180, 30, 30, 80, 180};

} // namespace

setWindow::setWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::setWindow)
{
    ui->setupUi(this);
    nextText = ui->nextAlarmLabel->text();

    core = new setWindowCore(this);
    core->setTable(ui->alarmListTable);

    alarmDialog = new alarm_set_window();
    alarmDialog->setModal(true);

    // No minimize or maximize button; a fixed-size dialog frame.
    setWindowFlags(windowFlags() ^ (Qt::WindowMinMaxButtonsHint | Qt::MSWindowsFixedSizeDialogHint));

    // The weekday columns are narrower than the style's default minimum.
    ui->alarmListTable->horizontalHeader()->setMinimumSectionSize(20);
    const int columns = int(sizeof(alarmColumnWidths) / sizeof(alarmColumnWidths[0]));
    // The drawn widths, or what the heading needs at the font (English
    // weekdays are wider than their one Japanese character).
    QHeaderView *heading = ui->alarmListTable->horizontalHeader();
    const int headingMargins = 2 * heading->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, heading) + 2;
    for (int column = 0; column < columns && column < ui->alarmListTable->columnCount(); ++column) {
        const QTableWidgetItem *item = ui->alarmListTable->horizontalHeaderItem(column);
        const int needed = item ? heading->fontMetrics().horizontalAdvance(item->text()) + headingMargins : 0;
        ui->alarmListTable->setColumnWidth(column, qMax(alarmColumnWidths[column], needed));
    }

    for (const int minutes : vurnSettings::snoozeMinuteItems())
        ui->snoozeCombo->addItem(tr("%n分", nullptr, minutes), minutes);
    for (const int minutes : vurnSettings::catchUpMinuteItems())
        ui->catchUpCombo->addItem(minutes == 0 ? tr("鳴らさない") : tr("%n分前まで鳴らす", nullptr, minutes), minutes);
    fillSoundChoices();
    setWakeAvailable(false, tr("確認しています…"));
    // The bulk dialog appends to the working list directly.
    connect(alarmDialog, &QDialog::finished, this, &setWindow::alarmsChanged);

    playlists = new playlistTab(ui, this);
    playlists->currentTracks = [this] { return playerCore ? playerCore->tracks() : QList<musicInfo *>(); };
    playlists->alarmsNaming = [this](const QString &name) { return core->alarmsNaming(name); };
    connect(playlists, &playlistTab::renamed, this, [this](const QString &from, const QString &to) {
        core->renamePlayList(from, to);
        emit playListRenamed(from, to);
        emit alarmsChanged();
    });
    connect(playlists, &playlistTab::namesChanged, core, &setWindowCore::refreshPlayListChoices);
    connect(core, &setWindowCore::rowsEdited, this, &setWindow::showNextAlarm);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, [this] {
        if (ui->tabWidget->currentWidget() == ui->playListListTab)
            playlists->refresh();
    });

    setWindowTitle(tr("Vurn Settings"));
    textFit::fitWindow(this);
}

setWindow::~setWindow()
{
    delete ui;
    // The dialog is a top-level window of its own, not a child; it holds a
    // pointer to the table manager, so it goes together with this window.
    delete alarmDialog;
}

void setWindow::setPlayerCore(vurnCore *player)
{
    playerCore = player;
}

void setWindow::setAlarmList(alarmList *list)
{
    core->replaceAlarmList(list);
}

void setWindow::setAlarmEnabled(bool enabled)
{
    updateAlarmEnable(enabled ? 1 : -1);
}

alarmList *setWindow::currentAlarmList() const
{
    return core->alarms;
}

bool setWindow::isAlarmEnabled() const
{
    return ui->allAlarmEnableCheckBox->isChecked();
}

void setWindow::setTrackList(const QList<musicInfo *> &tracks)
{
    core->setTrackList(tracks);
}

void setWindow::refreshAlarmTable()
{
    core->fillTable();
}

void setWindow::setNextAlarmText(const QString &text)
{
    // Once a second: the table's own next alarm moves on with the clock too.
    if (text == nextText && !ui->nextAlarmLabel->text().isEmpty() && shownNext == nextText)
        return;
    nextText = text;
    showNextAlarm();
}

void setWindow::setSchedule(const alarmSchedule *alarmsSchedule)
{
    schedule = alarmsSchedule;
}

QString setWindow::shownNextAlarmText() const
{
    return shownNext;
}

QString setWindow::nextAlarmText() const
{
    return nextText;
}

void setWindow::setAlarmNotes(const QStringList &given)
{
    if (given == notes)
        return;
    notes = given;
    showNextAlarm();
}

QStringList setWindow::alarmNotes() const
{
    return notes;
}

void setWindow::showNextAlarm()
{
    shownNext = nextText;
    // The rows only count while the window shows them: opening it fills them afresh.
    if (schedule && isVisible() && core->rowsDifferFromAlarms()) {
        const std::unique_ptr<alarmList> rows(core->rowsAsAlarms(nullptr));
        shownNext = alarmSchedule::nextAlarmText(
            schedule->nextFiring(rows.get(), isAlarmEnabled(), alarmClock::now()), true);
    }
    QStringList shown{shownNext};
    shown += notes;
    // The label has one line beside the alarm switch: what does not fit is
    // cut with an ellipsis, and the whole of it is in the tooltip.
    QLabel *label = ui->nextAlarmLabel;
    const QString full = shown.join(QStringLiteral("　"));
    label->setText(notes.isEmpty() ? full : label->fontMetrics().elidedText(full, Qt::ElideRight, label->width()));
    label->setToolTip(notes.isEmpty() ? QString() : shown.join(QLatin1Char('\n')));
}

void setWindow::updateAlarmEnable(int n)
{
    const bool enable = n > 0 || (n == 0 && ui->allAlarmEnableCheckBox->checkState() != Qt::Unchecked);
    ui->alarmListTable->setEnabled(enable);
    ui->alarmAddButton->setEnabled(enable);
    ui->alarmDelButton->setEnabled(enable);
    ui->alarmClearButton->setEnabled(enable);
    ui->alarmListResetButton->setEnabled(enable);
    ui->allAlarmEnableCheckBox->setCheckState(enable ? Qt::Checked : Qt::Unchecked);
}

bool setWindow::ensureAlarmTableEnabled()
{
    if (ui->alarmListTable->isEnabled())
        return true;
    QMessageBox::information(this, tr("エラー"), tr("アラームリストが無効になっています。"),
                             QMessageBox::Ok);
    return false;
}

bool setWindow::ensureAlarmTableNotEmpty()
{
    if (!core->isEmpty())
        return true;
    QMessageBox::warning(this, tr("アラームリストエラー"),
                         tr("アラームリストにアラームが登録されていません。"), QMessageBox::Ok);
    return false;
}

bool setWindow::ensureAlarmSelection(int count)
{
    if (count > 0)
        return true;
    QMessageBox::warning(this, tr("アラームリストエラー"),
                         tr("アラームリストで削除するアラームを選択して下さい。"), QMessageBox::Ok);
    return false;
}

bool setWindow::confirmDeleteAll(int count)
{
    if (count < core->rowCount())
        return true;
    return QMessageBox::question(this, tr("アラームリストクリア"),
                                 tr("アラームリストをクリアします。よろしいですか？"),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoButton)
           == QMessageBox::Ok;
}

QList<RowRange> setWindow::sortedAlarmSelection() const
{
    QList<RowRange> ranges = RowRange::of(ui->alarmListTable->selectionModel()->selection());
    std::stable_sort(ranges.begin(), ranges.end());
    return ranges;
}

void setWindow::on_okButon_clicked()
{
    core->readTable();
    snooze = ui->snoozeCombo->currentData().toInt();
    catchUp = ui->catchUpCombo->currentData().toInt();
    tray = ui->trayCheckBox->isChecked();
    stayAwake = ui->stayAwakeCheckBox->isChecked();
    // A greyed-out switch keeps the stored choice for a machine where it works.
    if (wakeAvailable)
        wake = ui->wakeCheckBox->isChecked();
    unmute = ui->unmuteCheckBox->isChecked();
    atLogin = ui->autostartCheckBox->isChecked();
    takeSoundOptions();
    emit alarmsChanged();
    close();
}

void setWindow::on_cancelButton_clicked()
{
    close();
}

void setWindow::on_readmeButton_clicked()
{
    const QString path = shippedFiles::find(QStringLiteral("Vurn.txt"));
    if (!path.isEmpty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return;
    }
    QMessageBox::warning(this, tr("read meオープンエラー"),
                         tr("Vurn.txtを表示できません。Vurn.exeと同じフォルダにありません。"),
                         QMessageBox::Ok);
}

void setWindow::on_webButton_clicked()
{
    // The product's page ships with the program and opens in the browser.
    const QString path = shippedFiles::find(QStringLiteral("Vurn.html"));
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setWindow::on_allAlarmEnableCheckBox_clicked(bool checked)
{
    updateAlarmEnable(checked ? 1 : -1);
    emit alarmsChanged();
}

void setWindow::on_alarmAddButton_clicked()
{
    if (ensureAlarmTableEnabled())
        core->addBlankRow();
}

void setWindow::on_alarmDelButton_clicked()
{
    if (!ensureAlarmTableEnabled() || !ensureAlarmTableNotEmpty())
        return;
    QList<RowRange> ranges = sortedAlarmSelection();
    const int count = ranges.size();
    if (!ensureAlarmSelection(count) || !confirmDeleteAll(count))
        return;
    // From the lowest block up, so the rows of the blocks still to go keep their numbers.
    while (!ranges.isEmpty()) {
        const RowRange range = ranges.takeLast();
        core->removeRows(range.top, range.bottom);
    }
}

void setWindow::on_alarmClearButton_clicked()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("アラームリストクリア"),
                              tr("アラームリストをクリアします。よろしいですか？"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoButton);
    if (answer != QMessageBox::Cancel)
        core->clearRows();
}

void setWindow::on_alarmListResetButton_clicked()
{
    core->clearRows();
    core->fillTable();
}

void setWindow::on_pushButton_clicked()
{
    alarmDialog->prepare(core);
    alarmDialog->show();
}

void setWindow::on_new_save_button_clicked()
{
    playlists->saveNew();
}

void setWindow::refreshPlaylists()
{
    playlists->refresh();
}

#include "moc_setwindow.cpp"
