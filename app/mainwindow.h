#pragma once

#include "library/loadreport.h"
#include "player/gstengine.h"
#include "playlist/rowrange.h"

#include <QList>
#include <QMainWindow>
#include <QDateTime>
#include <QModelIndex>


#include <functional>
#include <memory>

namespace Ui {
class MainWindow;
}
class QAction;
class QDBusConnection;
class QActionGroup;
class QMenu;
class alarmOne;
struct storedTrack;
class findBar;
class fileDialogFolder;
class playlistFold;
class sleepTimer;
class alarmRinger;
class alarmSchedule;
class alarmVolume;
class setWindow;
class setAsideList;
enum class setAsideCause;
class sleepInhibitor;
class sleepWatch;
class trackLoader;
class trayIcon;
class mprisService;
class ringingDesktop;
class dialogCloser;
class wakeClient;
class vurnCore;
class vurnSettings;
class warningBoxes;
class failureNotification;

// The player's one main window. Everything beyond the empty widget set is built
// at the first show, in a fixed order.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Play modes and the display.
    void applyModeByName(const QString &name);
    void refreshTotals();
    QString currentModeText() const;
    int volumePercent() const;
    void adjustColumns();
    // Widens what the platform's font would cut: the volume button, and the
    // window to its toolbars with the longest play-mode name.
    void fitToFont();

    // Alarms: once a second, the fade-in step and then the alarm check.
    void stepVolumeRamp();
    void checkAlarms();

    // The ringing occurrence ends: playback and the tone stop, the ringing
    // window closes. Snoozing also fires the alarm again later.
    void stopRinging();
    void snoozeRinging();
    // The tone's volume: the alarm's own, else the current one but at least 30 %.
    static int toneVolumeFor(const alarmOne &alarm, int currentPercent);
    // Pause and resume: the pause button, Space in the table, the tray and
    // MPRIS. While an alarm rings, pausing ends it as stopping does.
    void togglePause();
    void pauseIfPlaying();
    // MPRIS Play: a paused track goes on, a stopped player starts.
    void resumeOrPlay();
    void stopPlaying();
    // The sleep timer's choice: minutes, 0 for off, -1 for the end of the track.
    void chooseSleep(int minutes);
    // Adds a file (or folder) and plays what it added at once.
    void openAndPlay(const QString &path);
    // A saved playlist (named `name`) in place of the list, or after it.
    void loadStoredList(const QList<storedTrack> &tracks, bool append, const QString &name = QString());
    // An alarm's own playlist replaces the list, which is set aside.
    void playAlarmList(const QList<storedTrack> &tracks);
    // "戻す": the list the latest replacement set aside comes back, and the
    // one it replaces is set aside in turn (also after a restart).
    void restoreSetAsideList();

    // Quit for real, also while the window would only hide to the tray.
    void quitForReal();
    // Files and folders from the command line, added as a drop adds them;
    // before the first show they wait for the restored playlist.
    void addPaths(const QStringList &paths);
    // The same from another start: files that cannot be added are told in a
    // notification, never in a box.
    void addPathsFromDesktop(const QStringList &paths);
    // Shown, raised and activated, from the tray, another start or MPRIS.
    void bringToFront();
    // Started at login: ready and working, but only the tray icon shows (the
    // window minimised where the desktop has no tray).
    void startInTray();

    vurnSettings *settings = nullptr;
    setWindow *setWin = nullptr;
    vurnCore *core = nullptr;
    std::unique_ptr<alarmSchedule> schedule;
    alarmRinger *ringer = nullptr;
    trackLoader *loader = nullptr;
    trayIcon *tray = nullptr; // null where the desktop has no tray
    mprisService *mpris = nullptr; // null without a session bus
    QStringList pendingPaths;
    sleepWatch *sleepMonitor = nullptr;
    sleepInhibitor *inhibitor = nullptr;
    wakeClient *waker = nullptr;
    ringingDesktop *ringDesk = nullptr;
    bool startsAtLogin = false; // the autostart entry, as last looked at
    sleepTimer *sleeper = nullptr;
    findBar *finder = nullptr;
    QAction *actionPause = nullptr;
    QAction *actionSleep = nullptr;
    QAction *actionStopAfter = nullptr;
    QAction *actionFind = nullptr;
    QAction *actionRestoreList = nullptr;
    std::unique_ptr<setAsideList> setAside;
    QActionGroup *sleepChoices = nullptr;
    double rampStep = 0;   // percent per second; 0 while no fade-in runs
    double rampTarget = 0; // percent
    double rampLevel = 0;  // 0.0 .. 1.0
    QAction *mode_action_non = nullptr;
    QAction *mode_action_one = nullptr;
    QAction *mode_action_prev = nullptr;
    QAction *mode_action_next = nullptr;
    QAction *mode_action_rand = nullptr;
    QAction *mode_action_shuffle = nullptr;
    QAction *mode_action_non_rand = nullptr;
    QActionGroup *modeGroup = nullptr;
    // The person's volume while an alarm's own is in place.
    std::unique_ptr<alarmVolume> alarmVol;
    warningBoxes *boxes = nullptr;
    // Unreadable files of commands from the desktop, told once per burst.
    failureNotification *desktopFailures = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Connected by pointer in code; kept out of the slot table so that the
    // form's automatic on_<object>_<signal> wiring does not look for them.
    void on_state_change(gstEngine::State state);
    void on_track_started();
    void on_slider_moved(int position);
    void on_play_finished();
    void on_mode_action_non(bool checked);
    void on_mode_action_one(bool checked);
    void on_mode_action_prev(bool checked);
    void on_mode_action_next(bool checked);
    void on_mode_action_rand(bool checked);
    void on_mode_action_shuffle(bool checked);
    void on_mode_action_non_rand(bool checked);
    void on_track_failed();

private slots:
    void on_playListTable_doubleClicked(const QModelIndex &index);
    void on_actionPlay_triggered();
    void on_actionFace_triggered();
    void on_actionSettings_triggered();
    void on_actionAdd_triggered();
    void on_actionMode_triggered();
    void on_actionNext_triggered();
    void on_actionBack_triggered();
    void on_actionDel_triggered();
    void on_actionClear_triggered();
    void on_actionTop_triggered();
    void on_actionUp_triggered();
    void on_actionDown_triggered();
    void on_actionBottom_triggered();
    void on_volumeSlider_valueChanged(int value);
    void on_volButton_clicked();
    void on_MainWindow_destroyed();

private:
    void initialiseOnce();
    void buildModeMenu();
    void checkInitialMode();
    void selectMode(const QString &mode, int index);
    bool ensurePlayListNotEmpty();
    bool ensureSelection(int count);
    QList<RowRange> sortedSelection() const;
    void appendFiles(const QStringList &paths, const loadReport &skipped = loadReport(),
                     bool fromDesktop = false);
    void moveSelectionTo(int which);
    void refreshPosition();
    void restoreFromSettings();
    void playOrStop();
    void fireAlarm(const alarmOne &alarm, const QDateTime &scheduled);
    void refreshAlarmStatus(const QDateTime &now);
    void applyAlarmOptions();
    // The first time an alarm is enabled, offers to start at login (once).
    void offerStartAtLogin();
    QStringList alarmNotes(const QDateTime &next) const;
    void setUpDesktop();
    // Media keys and media widgets: MPRIS on the given bus, when it is there.
    void setUpMpris(const QDBusConnection &sessionBus);
    void toggleWindowShown();
    void buildBedsideControls();
    void buildPlaylistControls();
    void refreshRestoreAction();
    // The list as it is, with what is still waiting to be added.
    QList<storedTrack> listNow() const;
    // Sets the list aside before `incoming` replaces it (not an empty one,
    // nor one that is the same as what comes).
    void keepReplaced(const QList<storedTrack> &incoming, setAsideCause cause, const QString &name = QString());
    void replaceListWith(const QList<storedTrack> &tracks);
    void listReplaced();
    void resumeOrMoveOn();
    void refreshPauseState();
    void refreshSleepDisplay();
    void refreshTrayToolTip();
    void showCounts();
    void saveToSettings();
    // A volume change the alarm did not make: while it rings, the person's
    // choice stands and a fade-in stops.
    void noteVolumeMoved();
    // The occurrence is over: the volume from before the alarm comes back.
    void endAlarmVolume();
    // The seek bar and the volume slider go where clicked; a click seeks.
    void buildSliders();
    // Commands from the desktop never wait for an answer: with nothing to
    // play (no ringing, nothing playing, paused or in the list) they do nothing.
    bool desktopCanPlay() const;
    // Runs a command from the desktop (MPRIS, the tray): what it cannot play
    // is told in a notification, not a box.
    void fromDesktop(const std::function<void()> &command);
    void setUpFailureReports();
    void tellLoadFailures(const loadReport &report);

    Ui::MainWindow *ui;
    // Per window rather than per process, so that a window built after another
    // (a restart inside one process, as the tests do) initialises too.
    bool initialised = false;
    QMenu *modeMenu = nullptr;
    int positionTimerId = 0;
    int secondTimerId = 0;
    // Tracks an alarm may still skip to when the one it started cannot be played.
    int alarmSkipsLeft = 0;
    bool alarmSkipPending = false;
    bool quitting = false;
    QString trayAlarmText; // the tray tooltip's alarm lines
    QMenu *sleepMenu = nullptr;
    playlistFold *fold = nullptr;
    // Where the add dialog and the playlist tab's file dialogs start.
    std::unique_ptr<fileDialogFolder> dialogFolder;
    dialogCloser *closer = nullptr; // made when quitting
    // Every command of the loader's current run came from the desktop.
    bool desktopRun = false;
    int desktopCommands = 0; // commands from the desktop running now
};
