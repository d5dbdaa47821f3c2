#pragma once

#include "playlist/rowrange.h"

#include <QList>
#include <QMainWindow>

namespace Ui {
class setWindow;
}
class alarm_set_window;
class alarmList;
class alarmSchedule;
class musicInfo;
class setWindowCore;
class playlistTab;
class vurnCore;

// The application-modal settings window: saved playlists, the alarm list, other settings.
class setWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit setWindow(QWidget *parent = nullptr);
    ~setWindow() override;

    void setPlayerCore(vurnCore *player);
    void setAlarmList(alarmList *list);
    void setAlarmEnabled(bool enabled);
    alarmList *currentAlarmList() const;
    bool isAlarmEnabled() const;
    void setTrackList(const QList<musicInfo *> &tracks);
    void refreshAlarmTable();

    // The other-settings tab. The values take effect with the ok button; the
    // tab shows the values in effect whenever the window is opened.
    int snoozeMinutes() const;
    int catchUpMinutes() const;
    bool keepRunningInTray() const;
    bool stayAwakeForAlarms() const;
    void setAlarmOptions(int snooze, int catchUp, bool tray, bool stayAwake);
    void refreshOptions();
    // Whether keeping the machine awake can work here; says so in the tooltip.
    void setStayAwakeAvailable(bool available);
    // Waking a suspended machine, making the output audible, starting at login.
    bool wakeFromSleep() const;
    bool unmuteForAlarms() const;
    bool startAtLogin() const;
    void setDesktopOptions(bool wake, bool unmute, bool atLogin);
    // The ReplayGain mode as stored ("off", "track", "album") and its pre-amp in dB.
    QString replayGainMode() const;
    int replayGainPreAmp() const;
    void setSoundOptions(const QString &mode, int preAmpDb);
    // Where waking cannot work the option is greyed out, `reason` in its tooltip.
    void setWakeAvailable(bool available, const QString &reason = QString());
    bool isWakeAvailable() const;

    // The next alarm of the alarms in effect, as the main window words it.
    void setNextAlarmText(const QString &text);
    QString nextAlarmText() const;
    // The alarm tab's line: the one above, or, while the table holds edits
    // not yet taken with ok, the next alarm of the table as it stands,
    // worked out by `schedule` (which knows what fired and what is snoozed).
    void setSchedule(const alarmSchedule *alarmsSchedule);
    QString shownNextAlarmText() const;
    // Short notes shown after the next alarm (a silent output, no start at login).
    void setAlarmNotes(const QStringList &notes);
    QStringList alarmNotes() const;

    // The tab of saved playlists; refreshed whenever the window opens.
    playlistTab *playlists = nullptr;
    void refreshPlaylists();

Q_SIGNALS:
    // The alarms, the switch or the options were changed by the user.
    void alarmsChanged();
    // A saved playlist has a new name; the alarms in the table and in effect follow already.
    void playListRenamed(const QString &from, const QString &to);

private slots:
    void on_okButon_clicked();
    void on_cancelButton_clicked();
    void on_readmeButton_clicked();
    void on_webButton_clicked();
    void on_allAlarmEnableCheckBox_clicked(bool checked);
    void on_alarmAddButton_clicked();
    void on_alarmDelButton_clicked();
    void on_alarmClearButton_clicked();
    void on_alarmListResetButton_clicked();
    void on_pushButton_clicked();
    void on_new_save_button_clicked();

private:
    void updateAlarmEnable(int n);
    bool ensureAlarmTableEnabled();
    bool ensureAlarmTableNotEmpty();
    bool ensureAlarmSelection(int count);
    bool confirmDeleteAll(int count);
    QList<RowRange> sortedAlarmSelection() const;

    setWindowCore *core = nullptr;
    alarm_set_window *alarmDialog = nullptr;
    Ui::setWindow *ui;
    vurnCore *playerCore = nullptr;
    int snooze = 10;
    int catchUp = 60;
    bool tray = true;
    bool stayAwake = false;
    bool wake = true;
    bool unmute = true;
    bool atLogin = false;
    QString gainMode = QStringLiteral("track");
    int preAmp = 0;
    void fillSoundChoices();
    void takeSoundOptions();
    bool wakeAvailable = false;
    QString nextText;
    QStringList notes;
    void showNextAlarm();
    const alarmSchedule *schedule = nullptr;
    QString shownNext;
};
