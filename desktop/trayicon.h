#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

// The icon in the desktop's system tray that keeps the player reachable while
// its window is hidden: show or hide, play or stop, next, the ringing alarm, quit.
class trayIcon : public QObject
{
    Q_OBJECT
public:
    explicit trayIcon(QObject *parent = nullptr);
    ~trayIcon() override;

    static bool isAvailable();
    void show();
    bool isVisible() const;

    void setToolTip(const QString &text);
    void setWindowShown(bool shown);
    void setRinging(bool ringing);
    void showMessage(const QString &title, const QString &text);

    QMenu *menu() const;
    // The window's own stop-after-this-track toggle and sleep timer menu,
    // shared so that both places show the same state.
    void addSleepControls(QAction *stopAfter, QMenu *sleepMenu);
    QAction *showHideAction = nullptr;
    QAction *playAction = nullptr;
    QAction *nextAction = nullptr;
    QAction *pauseAction = nullptr;
    QAction *stopAlarmAction = nullptr;
    QAction *snoozeAction = nullptr;
    QAction *quitAction = nullptr;

Q_SIGNALS:
    void showHideRequested();
    void playRequested();
    void pauseRequested();
    void nextRequested();
    void stopAlarmRequested();
    void snoozeRequested();
    void quitRequested();

private:
    QSystemTrayIcon *icon = nullptr;
    QMenu *contextMenu = nullptr;
};
