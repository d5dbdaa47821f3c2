// The main window's place on the desktop: the tray icon, waking from sleep,
// and keeping the machine awake for a coming alarm.
#include "app/mainwindow.h"

#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmschedule.h"
#include "alarm/sleepinhibitor.h"
#include "alarm/sleepwatch.h"
#include "app/trayicon.h"
#include "settings/setwindow.h"

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

void MainWindow::quitForReal()
{
    quitting = true;
    // A hidden window still closes, and closing saves the state as always;
    // a hidden window's close does not count as the last window closing, so
    // end the event loop here.
    close();
    QCoreApplication::quit();
}
