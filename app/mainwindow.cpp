#include "app/mainwindow.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmschedule.h"
#include "alarm/alarmvolume.h"
#include "desktop/mprisservice.h"
#include "forms/findbar.h"
#include "forms/jumptoclickstyle.h"
#include "forms/playlistfold.h"
#include "player/musicplay.h"
#include "player/sleeptimer.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/filedialogfolder.h"
#include "storage/setasidelist.h"
#include "storage/storedchoice.h"
#include "storage/vurnsettings.h"
#include "ui_MainWindow.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>
#include <QShowEvent>
#include <QTimerEvent>


#include <cmath>
#include <utility>

namespace {
const char *const versionText = "0.3.4";

// The settings object and the mode menu have no parent and live as long as the
// process. Keeping them listed here keeps them reachable for leak checkers.
void keepForProcessLifetime(QObject *object)
{
    // Held through a pointer that is never freed: a plain static list would be
    // destroyed at exit before leak checkers look, hiding nothing.
    static QObjectList *const objects = new QObjectList;
    objects->append(object);
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), alarmVol(std::make_unique<alarmVolume>()), ui(new Ui::MainWindow)
{
    rampStep = 0;
}

MainWindow::~MainWindow()
{
    // The settings window, a child, outlives the schedule it reads.
    if (setWin)
        setWin->setSchedule(nullptr);
    delete ui;
}

void MainWindow::showEvent(QShowEvent *)
{
    if (initialised)
        return;
    initialiseOnce();
}

void MainWindow::initialiseOnce()
{
    initialised = true;
    // The random play modes draw from QRandomGenerator::global(), which seeds
    // itself from the system, so there is nothing to seed here.
    ui->setupUi(this);
    core = new vurnCore(this);
    setWin = new setWindow(this);
    core->setWidgets(ui->musicTitle, ui->actionPlay, ui->musicTime, ui->musicTimeBar,
                     ui->playListTable);
    setWin->setPlayerCore(core);
    connect(core->player, &musicPlay::stateChanged, this, &MainWindow::on_state_change);
    connect(core, &vurnCore::trackStarted, this, &MainWindow::on_track_started);
    // Nothing follows a track whose end is to stop playback.
    core->endsWithThisTrack = [this] {
        return sleeper->endsWithTrack() || sleeper->stopAfterTrack() || alarmSkipPending;
    };
    connect(ui->musicTimeBar, &QSlider::sliderMoved, this, &MainWindow::on_slider_moved);
    connect(core, &vurnCore::trackEnded, this, &MainWindow::on_play_finished);
    connect(core, &vurnCore::trackFailed, this, &MainWindow::on_track_failed);
    loader = new trackLoader(core, this, this);
    setUpFailureReports();
    connect(loader, &trackLoader::tracksAdded, this, [this] {
        // Rows arriving in later slices of an add are narrowed too.
        if (finder && finder->isNarrowed())
            finder->refilter();
        adjustColumns();
        refreshTotals();
    });
    schedule = std::make_unique<alarmSchedule>();
    setWin->setSchedule(schedule.get());
    ringer = new alarmRinger(this);
    connect(ringer, &alarmRinger::stopRequested, this, &MainWindow::stopRinging);
    connect(ringer, &alarmRinger::snoozeRequested, this, &MainWindow::snoozeRinging);
    connect(ringer, &alarmRinger::unmuteRequested, this, [this] {
        if (core->player->isMuted())
            core->toggleMute(ui->volButton);
        ringer->setMuted(core->player->isMuted());
    });
    // The tone has taken over; the alarm stops trying the playlist's tracks.
    connect(ringer, &alarmRinger::toneStarted, this, [this] { alarmSkipsLeft = 0; });
    // Alarms keep to their playlist through a rename: the snoozed and the ringing one too.
    connect(setWin, &setWindow::playListRenamed, this, [this](const QString &from, const QString &to) {
        schedule->renamePlayList(from, to);
        ringer->renamePlayList(from, to);
    });
    connect(setWin, &setWindow::alarmsChanged, this, [this] {
        applyAlarmOptions();
        refreshAlarmStatus(alarmClock::now());
        offerStartAtLogin();
    });
    positionTimerId = 0;
    adjustColumns();
    // A cleared or replaced list resets the header, and with it the columns.
    connect(ui->playListTable->model(), &QAbstractItemModel::modelReset, this, &MainWindow::adjustColumns);
    buildSliders();
    setAcceptDrops(true);
    buildModeMenu();
    buildBedsideControls();
    buildPlaylistControls();
    fitToFont();
    fold = new playlistFold(this, {ui->playListTable, finder, ui->playlistToolBar});
    settings = new vurnSettings();
    keepForProcessLifetime(settings);
    QString name = QStringLiteral("Vurn");
    settings->openFile(name);
    restoreFromSettings();
    setUpDesktop();
    applyAlarmOptions();
    refreshAlarmStatus(alarmClock::now());
    secondTimerId = startTimer(1000);
    if (!pendingPaths.isEmpty())
        addPaths(std::exchange(pendingPaths, QStringList()));
    setWindowTitle(QStringLiteral("Vurn -v") + QLatin1String(versionText));
}

void MainWindow::buildModeMenu()
{
    struct ModeEntry {
        QAction **action;
        const char *text;
        void (MainWindow::*slot)(bool);
    };
    const ModeEntry entries[] = {
        {&mode_action_non, "リピートなし", &MainWindow::on_mode_action_non},
        {&mode_action_one, "1曲リピート", &MainWindow::on_mode_action_one},
        {&mode_action_next, "全曲リピート(>>)", &MainWindow::on_mode_action_next},
        {&mode_action_prev, "全曲リピート(<<)", &MainWindow::on_mode_action_prev},
        {&mode_action_rand, "ランダム", &MainWindow::on_mode_action_rand},
        {&mode_action_shuffle, "シャッフル", &MainWindow::on_mode_action_shuffle},
        {&mode_action_non_rand, "リピートなし：ランダム", &MainWindow::on_mode_action_non_rand},
    };
    for (const ModeEntry &entry : entries) {
        // The stored mode rides along; the menu shows its words.
        const QString mode = QString::fromUtf8(entry.text);
        QAction *action = new QAction(storedChoice::shown(mode), this);
        action->setData(mode);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, entry.slot);
        *entry.action = action;
    }
    modeGroup = new QActionGroup(this);
    modeGroup->setExclusive(true);
    for (const ModeEntry &entry : entries)
        modeGroup->addAction(*entry.action);
    checkInitialMode();
    modeMenu = new QMenu();
    keepForProcessLifetime(modeMenu);
    for (const ModeEntry &entry : entries)
        modeMenu->addAction(*entry.action);
}

void MainWindow::checkInitialMode()
{
    QAction *const candidates[] = {mode_action_one, mode_action_next, mode_action_prev,
                                   mode_action_rand, mode_action_shuffle, mode_action_non_rand};
    for (QAction *action : candidates) {
        if (core->modeText == action->data().toString()) {
            action->setChecked(true);
            ui->actionMode->setText(action->text());
            return;
        }
    }
    mode_action_non->setChecked(true);
    ui->actionMode->setText(storedChoice::shown(storedChoice::noRepeat()));
}

void MainWindow::adjustColumns()
{
    // The title takes whatever the time leaves, at any window width; the
    // time is as wide as the longest length it shows ("10:00:00").
    QTableView *table = ui->playListTable;
    QHeaderView *header = table->horizontalHeader();
    if (header->count() < 2)
        return;
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    const int cellMargins = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
    const int cell = table->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + cellMargins;
    const QString title = table->model()->headerData(1, Qt::Horizontal).toString();
    const int headerMargins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int heading = header->fontMetrics().horizontalAdvance(title) + headerMargins;
    // A few pixels more for the grid line and the eye.
    table->setColumnWidth(1, qMax(cell, heading) + 4);
}

void MainWindow::fitToFont()
{
    const QString volume = ui->volButton->text();
    ui->volButton->setText(core->volumeText(100));
    ui->volButton->setMinimumWidth(qMax(40, ui->volButton->sizeHint().width()));
    ui->volButton->setText(volume);

    const QString mode = ui->actionMode->text();
    int needed = qMax(ui->playlistToolBar->sizeHint().width(), centralWidget()->minimumSizeHint().width());
    for (const QAction *action : modeGroup->actions()) {
        ui->actionMode->setText(action->text());
        needed = qMax(needed, ui->playToolBar->sizeHint().width());
    }
    ui->actionMode->setText(mode);
    if (width() < needed) {
        resize(needed, height());
        adjustColumns();
    }
}

void MainWindow::timerEvent(QTimerEvent *event)
{
    const int id = event->timerId();
    if (positionTimerId != 0 && positionTimerId == id)
        refreshPosition();
    if (secondTimerId != 0 && secondTimerId == id) {
        stepVolumeRamp();
        checkAlarms();
        if (sleeper->isActive()) {
            sleeper->tick(alarmClock::now(), core->positionMsec(), core->currentLength());
            refreshSleepDisplay();
        }
        // A safety net for changes no signal tells of (a fade-in step, say).
        if (mpris)
            mpris->refresh();
    }
}

// --- Now-playing display -------------------------------------------------

void MainWindow::on_state_change(gstEngine::State state)
{
    if (state == gstEngine::State::Stopped || state == gstEngine::State::Error) {
        if (positionTimerId != 0)
            killTimer(positionTimerId);
        positionTimerId = 0;
    } else if (state == gstEngine::State::Playing) {
        // Playing again after a pause keeps the one timer.
        if (positionTimerId == 0)
            positionTimerId = startTimer(100);
    }
}

void MainWindow::on_track_started()
{
    alarmSkipsLeft = 0;
    if (ringer->isRinging())
        ringer->setNowPlaying(ui->musicTitle->text());
}

void MainWindow::refreshPosition()
{
    core->updatePosition(core->positionMsec(), core->currentLength());
    // The mode, the list or a stop choice may have changed what follows.
    core->queueFollowing();
}

void MainWindow::selectMode(const QString &mode, int index)
{
    core->setModeText(mode);
    ui->actionMode->setText(storedChoice::shown(mode));
    modeGroup->actions().at(index)->setChecked(true);
    if (mpris)
        mpris->refresh();
}

void MainWindow::on_mode_action_non(bool)
{
    selectMode(QStringLiteral("リピートなし"), 0);
}

void MainWindow::on_mode_action_one(bool)
{
    selectMode(QStringLiteral("1曲リピート"), 1);
}

void MainWindow::on_mode_action_next(bool)
{
    selectMode(QStringLiteral("全曲リピート(>>)"), 2);
}

void MainWindow::on_mode_action_prev(bool)
{
    selectMode(QStringLiteral("全曲リピート(<<)"), 3);
}

void MainWindow::on_mode_action_rand(bool)
{
    selectMode(QStringLiteral("ランダム"), 4);
}

void MainWindow::on_mode_action_shuffle(bool)
{
    selectMode(QStringLiteral("シャッフル"), 5);
}

void MainWindow::on_mode_action_non_rand(bool)
{
    selectMode(QStringLiteral("リピートなし：ランダム"), 6);
}

void MainWindow::applyModeByName(const QString &name)
{
    const struct {
        const char *text;
        void (MainWindow::*slot)(bool);
    } modes[] = {
        {"リピートなし", &MainWindow::on_mode_action_non},
        {"1曲リピート", &MainWindow::on_mode_action_one},
        {"全曲リピート(<<)", &MainWindow::on_mode_action_prev},
        {"全曲リピート(>>)", &MainWindow::on_mode_action_next},
        {"ランダム", &MainWindow::on_mode_action_rand},
        {"シャッフル", &MainWindow::on_mode_action_shuffle},
        {"リピートなし：ランダム", &MainWindow::on_mode_action_non_rand},
    };
    for (const auto &mode : modes) {
        if (name == QString::fromUtf8(mode.text)) {
            (this->*mode.slot)(true);
            return;
        }
    }
    // Texts such as "リピートなし：3" from an alarm stay the controller's mode.
    core->setModeText(name);
    ui->actionMode->setText(storedChoice::shown(name));
    modeGroup->actions().at(0)->setChecked(true);
    if (mpris)
        mpris->refresh();
}

void MainWindow::refreshTotals()
{
    showCounts();
    ui->totalTime->setText(core->totalText);
    if (mpris)
        mpris->refresh();
}

void MainWindow::showCounts()
{
    // Narrowed by a search, the count says how many of the whole list show.
    if (finder && finder->isNarrowed())
        ui->totalNum->setText(tr("%1 / %n 曲", nullptr, core->countText.toInt()).arg(finder->shownCount()));
    else
        ui->totalNum->setText(tr("%n 曲", nullptr, core->countText.toInt()));
}

QString MainWindow::currentModeText() const
{
    // The stored mode, not the words the menu shows it with.
    QAction *checked = modeGroup ? modeGroup->checkedAction() : nullptr;
    return checked ? checked->data().toString() : QString();
}

int MainWindow::volumePercent() const
{
    // Round up, but not what floating point puts a hair above a whole percent
    // (0.07 * 100 is 7.000000000000001): otherwise the saved volume creeps up.
    const double scaled = core->volume() * 100.0;
    const double nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) <= 1e-6)
        return int(nearest);
    return int(std::ceil(scaled));
}

void MainWindow::on_MainWindow_destroyed()
{
}

#include "moc_mainwindow.cpp"
