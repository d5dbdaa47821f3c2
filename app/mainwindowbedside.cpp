// The main window's bedside commands: pause, the sleep timer, stop after
// this track, and finding a track in the playlist.
#include "app/mainwindow.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "desktop/mprisservice.h"
#include "desktop/trayicon.h"
#include "forms/findbar.h"
#include "forms/playlistfold.h"
#include "library/collectfiles.h"
#include "player/musicplay.h"
#include "player/sleeptimer.h"
#include "playlist/playlist.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "playlistfiles/playlistreader.h"
#include "ui_MainWindow.h"

#include <QActionGroup>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>


void MainWindow::buildBedsideControls()
{
    actionPause = new QAction(tr("‖"), this);
    actionPause->setObjectName(QStringLiteral("actionPause"));
    actionPause->setCheckable(true);
    actionPause->setToolTip(tr("一時停止/再開します (Space)"));
    ui->playToolBar->insertAction(ui->actionNext, actionPause);
    connect(actionPause, &QAction::triggered, this, [this] { togglePause(); });
    // Space belongs to the table only: elsewhere it presses buttons and types.
    auto *space = new QShortcut(QKeySequence(Qt::Key_Space), ui->playListTable);
    space->setContext(Qt::WidgetShortcut);
    connect(space, &QShortcut::activated, this, &MainWindow::togglePause);
    connect(core, &vurnCore::pausedChanged, this, &MainWindow::refreshPauseState);
    connect(core->player, &musicPlay::stateChanged, this, &MainWindow::refreshPauseState);
    connect(core, &vurnCore::resumeFailed, this, &MainWindow::on_play_finished);

    sleeper = new sleepTimer(this);
    sleepMenu = new QMenu(tr("おやすみタイマー"), this);
    sleepChoices = new QActionGroup(this);
    const struct {
        const char *text;
        int minutes;
    } choices[] = {{QT_TR_NOOP("オフ"), 0},    {QT_TR_NOOP("15分"), 15},  {QT_TR_NOOP("30分"), 30},
                   {QT_TR_NOOP("45分"), 45},   {QT_TR_NOOP("60分"), 60},  {QT_TR_NOOP("90分"), 90},
                   {QT_TR_NOOP("120分"), 120}, {QT_TR_NOOP("この曲が終わったら"), -1}};
    for (const auto &choice : choices) {
        QAction *action = sleepMenu->addAction(tr(choice.text));
        action->setCheckable(true);
        action->setData(choice.minutes);
        sleepChoices->addAction(action);
        const int minutes = choice.minutes;
        connect(action, &QAction::triggered, this, [this, minutes] { chooseSleep(minutes); });
    }
    sleepChoices->actions().first()->setChecked(true);
    sleepMenu->addSeparator();
    actionStopAfter = sleepMenu->addAction(tr("この曲で停止"));
    actionStopAfter->setObjectName(QStringLiteral("actionStopAfter"));
    actionStopAfter->setCheckable(true);
    connect(actionStopAfter, &QAction::toggled, sleeper, &sleepTimer::setStopAfterTrack);
    actionSleep = new QAction(tr("おやすみ"), this);
    actionSleep->setObjectName(QStringLiteral("actionSleep"));
    actionSleep->setMenu(sleepMenu);
    ui->playToolBar->insertAction(ui->actionSettings, actionSleep);
    if (auto *button = qobject_cast<QToolButton *>(ui->playToolBar->widgetForAction(actionSleep)))
        button->setPopupMode(QToolButton::InstantPopup);
    connect(sleeper, &sleepTimer::attenuationChanged, this,
            [this](qreal factor) { core->player->setAttenuation(factor); });
    connect(sleeper, &sleepTimer::expired, this, [this] {
        if (core->isPlaying() || core->isPaused())
            stopPlaying();
    });
    connect(sleeper, &sleepTimer::changed, this, &MainWindow::refreshSleepDisplay);

    finder = new findBar(core, ui->playListTable, centralWidget());
    ui->gridLayout->addWidget(finder, 4, 0, 1, 2);
    actionFind = new QAction(tr("検索"), this);
    actionFind->setObjectName(QStringLiteral("actionFind"));
    actionFind->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    addAction(actionFind);
    // Ctrl+F finds, as everywhere else; folding the list moves to Ctrl+L.
    ui->actionFace->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
    connect(actionFind, &QAction::triggered, this, [this] {
        // Finding needs the list: a folded window unfolds first.
        if (fold->isFolded())
            on_actionFace_triggered();
        finder->open();
    });
    connect(finder, &findBar::narrowed, this, &MainWindow::showCounts);
    connect(finder, &findBar::playRequested, this, [this](int row) {
        alarmSkipsLeft = 0;
        core->playTrack(row, false);
    });
    refreshPauseState();
    refreshSleepDisplay();
}

// --- Pause -------------------------------------------------------------------

void MainWindow::togglePause()
{
    if (ringer->isRinging()) {
        stopRinging();
        return;
    }
    if (core->isPlaying())
        core->pausePlayback();
    else if (core->isPaused())
        resumeOrMoveOn();
    refreshPauseState();
}

void MainWindow::pauseIfPlaying()
{
    if (ringer->isRinging()) {
        stopRinging();
        return;
    }
    if (core->isPlaying())
        core->pausePlayback();
}

void MainWindow::resumeOrPlay()
{
    if (core->isPaused())
        resumeOrMoveOn();
    else if (!core->isPlaying())
        on_actionPlay_triggered();
}

void MainWindow::resumeOrMoveOn()
{
    alarmSkipsLeft = 0;
    // The track's file is gone or will not play: on as at its end.
    if (!core->resumePlayback())
        on_play_finished();
}

void MainWindow::refreshPauseState()
{
    if (!actionPause)
        return;
    const bool paused = core->isPaused();
    actionPause->setEnabled(paused || core->isPlaying());
    actionPause->setChecked(paused);
    actionPause->setToolTip(paused ? tr("再開します (Space)") : tr("一時停止/再開します (Space)"));
    if (tray && tray->pauseAction)
        tray->pauseAction->setText(paused ? tr("再開") : tr("一時停止"));
}

// --- Sleep timer and stop after this track -----------------------------------

void MainWindow::chooseSleep(int minutes)
{
    if (minutes < 0)
        sleeper->startEndOfTrack(core->positionMsec(), core->currentLength());
    else if (minutes == 0)
        sleeper->cancel();
    else
        sleeper->startMinutes(minutes, alarmClock::now());
}

void MainWindow::refreshSleepDisplay()
{
    if (!sleeper)
        return;
    const QString left = sleeper->remainingText(alarmClock::now());
    QString text = tr("おやすみ");
    QString tip = tr("おやすみタイマー");
    if (sleeper->isActive() && !sleeper->endsWithTrack()) {
        text = left;
        tip = tr("おやすみタイマー：あと %1 で停止").arg(left);
    } else if (sleeper->endsWithTrack() || sleeper->stopAfterTrack()) {
        text = tr("曲まで");
        tip = tr("おやすみタイマー：この曲が終わったら停止");
    }
    actionSleep->setText(text);
    actionSleep->setToolTip(tip);
    // The menu follows what the timer did on its own (ended, or an alarm).
    for (QAction *action : sleepChoices->actions()) {
        const int minutes = action->data().toInt();
        const bool current = sleeper->endsWithTrack() ? minutes < 0
                                                      : minutes == sleeper->chosenMinutes();
        if (current && !action->isChecked())
            action->setChecked(true);
    }
    if (actionStopAfter->isChecked() != sleeper->stopAfterTrack())
        actionStopAfter->setChecked(sleeper->stopAfterTrack());
    refreshTrayToolTip();
}

void MainWindow::refreshTrayToolTip()
{
    if (!tray)
        return;
    QString text = QStringLiteral("Vurn");
    if (!trayAlarmText.isEmpty())
        text += QLatin1Char('\n') + trayAlarmText;
    if (sleeper && (sleeper->isActive() || sleeper->stopAfterTrack()))
        text += QLatin1Char('\n') + actionSleep->toolTip();
    tray->setToolTip(text);
}

// --- Opening from the desktop --------------------------------------------------

void MainWindow::openAndPlay(const QString &path)
{
    loadReport skipped;
    const QStringList files = collectFiles(playlistReader::expand({path}, skipped));
    const int count = files.size();
    appendFiles(files, skipped, true);
    if (count == 0)
        return;
    // Its tracks are the last ones once every add before it is through.
    const auto playAdded = [this, count] {
        const int first = core->playlist->size() - count;
        if (first < 0)
            return;
        alarmSkipsLeft = 0;
        core->playTrack(first, false);
    };
    if (!loader->isBusy()) {
        playAdded();
        return;
    }
    auto *once = new QObject(this);
    connect(loader, &trackLoader::finished, once, [once, playAdded] {
        once->deleteLater();
        playAdded();
    });
}
