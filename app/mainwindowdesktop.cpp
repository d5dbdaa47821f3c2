// The main window's place on the desktop: the tray icon, waking from sleep,
// and keeping the machine awake for a coming alarm.
#include "app/mainwindow.h"

#include "app/warningboxes.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmringwindow.h"
#include "alarm/alarmschedule.h"
#include "desktop/autostartentry.h"
#include "desktop/dialogcloser.h"
#include "desktop/failurenotification.h"
#include "desktop/mprisservice.h"
#include "desktop/ringingdesktop.h"
#include "desktop/sleepinhibitor.h"
#include "desktop/sleepwatch.h"
#include "desktop/trayicon.h"
#include "desktop/wakeclient.h"
#include "player/musicplay.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "ui_MainWindow.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QMessageBox>

#include <utility>

void MainWindow::setUpDesktop()
{
    const QDBusConnection systemBus = QDBusConnection::systemBus();
    sleepMonitor = new sleepWatch(systemBus, this);
    // Right after waking, not up to a second later: the alarm may be due now.
    connect(sleepMonitor, &sleepWatch::resumed, this, &MainWindow::checkAlarms);
    inhibitor = new sleepInhibitor(systemBus, this);
    setWin->setStayAwakeAvailable(inhibitor->isAvailable());

    // Waking a suspended machine for the next alarm, through the wake helper.
    waker = new wakeClient(systemBus, [this](const QDateTime &now) {
        return schedule->nextFiring(setWin->currentAlarmList(), setWin->isAlarmEnabled(), now);
    }, this);
    connect(sleepMonitor, &sleepWatch::aboutToSleep, waker, &wakeClient::prepareForSleep);
    connect(sleepMonitor, &sleepWatch::resumed, waker, &wakeClient::resumed);
    connect(waker, &wakeClient::availabilityChanged, this,
            [this] { setWin->setWakeAvailable(waker->isAvailable(), waker->unavailableReason()); });
    waker->probe();

    // Heard, stoppable from a locked screen, not put back to sleep while ringing.
    ringDesk = new ringingDesktop(systemBus, QDBusConnection::sessionBus(), this);
    connect(ringDesk, &ringingDesktop::stopRequested, this, &MainWindow::stopRinging);
    connect(ringDesk, &ringingDesktop::snoozeRequested, this, &MainWindow::snoozeRinging);
    connect(ringDesk, &ringingDesktop::warningChanged, this, [this] {
        if (ringer->isRinging() && ringer->window())
            ringer->window()->setOutputWarning(ringDesk->silentWarning());
        refreshAlarmStatus(alarmClock::now());
    });
    startsAtLogin = autostartEntry().isEnabled();
    setWin->setDesktopOptions(settings->loadWakeFromSleep(), settings->loadUnmuteForAlarms(), startsAtLogin);

    setUpMpris(QDBusConnection::sessionBus());

    if (!trayIcon::isAvailable())
        return;
    tray = new trayIcon(this);
    connect(tray, &trayIcon::showHideRequested, this, &MainWindow::toggleWindowShown);
    connect(tray, &trayIcon::playRequested, this, [this] {
        if (desktopCanPlay())
            fromDesktop([this] { on_actionPlay_triggered(); });
    });
    connect(tray, &trayIcon::pauseRequested, this, &MainWindow::togglePause);
    connect(tray, &trayIcon::nextRequested, this, [this] {
        if (core->hasTracks())
            fromDesktop([this] { on_actionNext_triggered(); });
    });
    tray->addSleepControls(actionStopAfter, sleepMenu);
    connect(tray, &trayIcon::stopAlarmRequested, this, &MainWindow::stopRinging);
    connect(tray, &trayIcon::snoozeRequested, this, &MainWindow::snoozeRinging);
    connect(tray, &trayIcon::quitRequested, this, &MainWindow::quitForReal);
    tray->show();
}

void MainWindow::setUpMpris(const QDBusConnection &sessionBus)
{
    mpris = new mprisService(sessionBus, core, this);
    if (!mpris->isRegistered()) {
        delete mpris;
        mpris = nullptr;
        return;
    }
    // Queued: the D-Bus call returns first, then the command runs. Nothing
    // here waits for the user: with nothing to play a command does nothing,
    // and files that cannot be opened are told in a notification.
    const auto queued = Qt::QueuedConnection;
    connect(mpris, &mprisService::raiseRequested, this, &MainWindow::bringToFront, queued);
    connect(mpris, &mprisService::quitRequested, this, &MainWindow::quitForReal, queued);
    connect(mpris, &mprisService::playPauseRequested, this, [this] {
        if (ringer->isRinging() || core->isPlaying() || core->isPaused())
            fromDesktop([this] { togglePause(); });
        else if (desktopCanPlay())
            fromDesktop([this] { on_actionPlay_triggered(); });
    }, queued);
    connect(mpris, &mprisService::playRequested, this, [this] {
        if (desktopCanPlay())
            fromDesktop([this] { resumeOrPlay(); });
    }, queued);
    connect(mpris, &mprisService::pauseRequested, this, &MainWindow::pauseIfPlaying, queued);
    connect(mpris, &mprisService::stopRequested, this, [this] {
        if (ringer->isRinging())
            stopRinging();
        else if (core->isPlaying() || core->isPaused())
            stopPlaying();
    }, queued);
    connect(mpris, &mprisService::modeRequested, this, [this](const QString &mode) {
        applyModeByName(mode);
        mpris->refresh();
    }, queued);
    // CanGoNext and CanGoPrevious are false with an empty list: no effect then.
    connect(mpris, &mprisService::nextRequested, this, [this] {
        if (core->hasTracks())
            fromDesktop([this] { on_actionNext_triggered(); });
    }, queued);
    connect(mpris, &mprisService::previousRequested, this, [this] {
        if (core->hasTracks())
            fromDesktop([this] { on_actionBack_triggered(); });
    }, queued);
    connect(mpris, &mprisService::volumeRequested, this, [this](double level) {
        noteVolumeMoved();
        core->setVolumeLevel(level, ui->volButton, ui->volumeSlider);
        mpris->refresh();
    }, queued);
    connect(mpris, &mprisService::seekRequested, this, [this](qint64 position) {
        core->seekTo(position);
    });
    connect(mpris, &mprisService::openRequested, this, &MainWindow::openAndPlay, queued);
}

void MainWindow::fromDesktop(const std::function<void()> &command)
{
    ++desktopCommands;
    command();
    --desktopCommands;
}

bool MainWindow::desktopCanPlay() const
{
    return ringer->isRinging() || core->isPlaying() || core->isPaused() || core->hasTracks();
}

void MainWindow::setUpFailureReports()
{
    boxes = new warningBoxes(this);
    desktopFailures = new failureNotification(QDBusConnection::sessionBus(), this);
    connect(desktopFailures, &failureNotification::unheard, this, [this](const QString &title, const QString &text) {
        if (tray)
            tray->showMessage(title, text);
    });
    loader->tellFailures = [this](const loadReport &report) { tellLoadFailures(report); };
    // A track spoiled since it was added, started from the desktop: no box.
    core->player->tellUnreadable = [this](const loadReport &report) {
        if (desktopCommands > 0)
            desktopFailures->gather(report);
        else
            boxes->tell(report);
    };
    connect(loader, &trackLoader::finished, this, [this] { desktopRun = false; });
}

void MainWindow::tellLoadFailures(const loadReport &report)
{
    if (std::exchange(desktopRun, false))
        desktopFailures->gather(report);
    else
        boxes->tell(report);
}

void MainWindow::applyAlarmOptions()
{
    schedule->setCatchUpMinutes(setWin->catchUpMinutes());
    if (waker)
        waker->setEnabled(setWin->wakeFromSleep());
    if (ringDesk)
        ringDesk->setUnmuteEnabled(setWin->unmuteForAlarms());
    autostartEntry entry;
    if (setWin->startAtLogin() != entry.isEnabled())
        entry.setEnabled(setWin->startAtLogin(), QCoreApplication::applicationFilePath());
    startsAtLogin = entry.isEnabled();
    const QString gain = setWin->replayGainMode();
    core->player->setReplayGain(gain == QLatin1String("off")      ? gstEngine::ReplayGain::Off
                                : gain == QLatin1String("album") ? gstEngine::ReplayGain::Album
                                                                  : gstEngine::ReplayGain::Track,
                                setWin->replayGainPreAmp(), 0.0);
}

void MainWindow::offerStartAtLogin()
{
    if (startsAtLogin || settings->loadAutostartOffered() || !setWin->isAlarmEnabled()
        || !schedule->nextFiring(setWin->currentAlarmList(), true, alarmClock::now()).isValid())
        return;
    settings->saveAutostartOffered(true);
    // Not modal: the question waits beside the alarms rather than in front of them.
    auto *box = new QMessageBox(QMessageBox::Question, tr("ログイン時に起動"),
                                tr("アラームはVurnが動いている間だけ鳴ります。\n"
                                   "ログイン時にVurnをトレイで起動しますか？"),
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setDefaultButton(QMessageBox::Yes);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box] {
        if (box->clickedButton() != box->button(QMessageBox::Yes))
            return;
        setWin->setDesktopOptions(setWin->wakeFromSleep(), setWin->unmuteForAlarms(), true);
        applyAlarmOptions();
        refreshAlarmStatus(alarmClock::now());
    });
    box->open();
}

QStringList MainWindow::alarmNotes(const QDateTime &next) const
{
    QStringList notes;
    if (!next.isValid())
        return notes;
    if (ringDesk && !ringDesk->silentWarning().isEmpty())
        notes << ringDesk->silentWarning();
    if (!startsAtLogin)
        notes << tr("ログアウトすると鳴りません");
    return notes;
}

void MainWindow::toggleWindowShown()
{
    if (isVisible() && !isMinimized())
        hide();
    else
        bringToFront();
    if (tray)
        tray->setWindowShown(isVisible());
}

void MainWindow::bringToFront()
{
    // Out of the minimised state, keeping a maximised one.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    if (tray)
        tray->setWindowShown(true);
}

void MainWindow::startInTray()
{
    if (!initialised)
        initialiseOnce();
    if (tray && tray->isVisible()) {
        tray->setWindowShown(false);
        return;
    }
    showMinimized();
}

void MainWindow::quitForReal()
{
    quitting = true;
    // Ended by the session or from the tray, nothing waits for an answer: not
    // a box open now, nor one the closing opens (the end of an add).
    if (!closer)
        closer = new dialogCloser(this);
    closer->closeAll();
    // A hidden window still closes, and closing saves the state as always;
    // a hidden window's close does not count as the last window closing, so
    // end the event loop here.
    close();
    QCoreApplication::quit();
}
