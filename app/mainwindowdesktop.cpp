// The main window's place on the desktop: the tray icon, waking from sleep,
// and keeping the machine awake for a coming alarm.
#include "app/mainwindow.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmschedule.h"
#include "desktop/sleepinhibitor.h"
#include "desktop/sleepwatch.h"
#include "desktop/mprisservice.h"
#include "desktop/trayicon.h"
#include "engine/musicplay.h"
#include "engine/vurncore.h"
#include "settings/setwindow.h"
#include "ui_MainWindow.h"

#include <QCoreApplication>
#include <QDBusConnection>

void MainWindow::setUpDesktop()
{
    const QDBusConnection systemBus = QDBusConnection::systemBus();
    sleepMonitor = new sleepWatch(systemBus, this);
    // Right after waking, not up to a second later: the alarm may be due now.
    connect(sleepMonitor, &sleepWatch::resumed, this, &MainWindow::checkAlarms);
    inhibitor = new sleepInhibitor(systemBus, this);
    setWin->setStayAwakeAvailable(inhibitor->isAvailable());
    setUpMpris(QDBusConnection::sessionBus());

    if (!trayIcon::isAvailable())
        return;
    tray = new trayIcon(this);
    connect(tray, &trayIcon::showHideRequested, this, &MainWindow::toggleWindowShown);
    connect(tray, &trayIcon::playRequested, this, &MainWindow::on_actionPlay_triggered);
    connect(tray, &trayIcon::nextRequested, this, &MainWindow::on_actionNext_triggered);
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
    // Queued: the D-Bus call returns first, then the command runs with the
    // window's own warnings, which may wait for the user.
    const auto queued = Qt::QueuedConnection;
    connect(mpris, &mprisService::raiseRequested, this, &MainWindow::bringToFront, queued);
    connect(mpris, &mprisService::quitRequested, this, &MainWindow::quitForReal, queued);
    connect(mpris, &mprisService::playPauseRequested, this, &MainWindow::on_actionPlay_triggered, queued);
    connect(mpris, &mprisService::playRequested, this, [this] {
        if (!core->isPlaying())
            on_actionPlay_triggered();
    }, queued);
    connect(mpris, &mprisService::stopRequested, this, [this] {
        if (core->isPlaying() || ringer->isRinging())
            on_actionPlay_triggered();
    }, queued);
    connect(mpris, &mprisService::nextRequested, this, &MainWindow::on_actionNext_triggered, queued);
    connect(mpris, &mprisService::previousRequested, this, &MainWindow::on_actionBack_triggered, queued);
    connect(mpris, &mprisService::volumeRequested, this, [this](double level) {
        core->setVolumeLevel(level, ui->volButton, ui->volumeSlider);
        mpris->refresh();
    }, queued);
    connect(mpris, &mprisService::seekRequested, this, [this](qint64 position) {
        core->player->seek(qint32(position));
    });
    connect(mpris, &mprisService::openRequested, this, [this](const QString &path) {
        addPaths({path});
    }, queued);
}

void MainWindow::applyAlarmOptions()
{
    schedule->setCatchUpMinutes(setWin->catchUpMinutes());
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
    // A hidden window still closes, and closing saves the state as always;
    // a hidden window's close does not count as the last window closing, so
    // end the event loop here.
    close();
    QCoreApplication::quit();
}
