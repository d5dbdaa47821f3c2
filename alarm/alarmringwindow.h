#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The small always-on-top window of a ringing alarm: its time, what plays,
// a mute warning, and the stop and snooze buttons.
class alarmRingWindow : public QWidget
{
    Q_OBJECT
public:
    explicit alarmRingWindow(QWidget *parent = nullptr);

    void setAlarmTime(const QString &hhmm);
    void setNowPlaying(const QString &text);
    void setMuted(bool muted);
    // Said when the desktop's own output is silent; empty hides it.
    void setOutputWarning(const QString &text);
    // Why the alarm plays another list than its own (empty: nothing to say).
    void setPlaylistNote(const QString &text);

    QLabel *timeLabel = nullptr;
    QLabel *playingLabel = nullptr;
    QLabel *mutedLabel = nullptr;
    QLabel *outputLabel = nullptr;
    QLabel *playlistLabel = nullptr;
    QPushButton *unmuteButton = nullptr;
    QPushButton *stopButton = nullptr;
    QPushButton *snoozeButton = nullptr;

Q_SIGNALS:
    void stopClicked();
    void snoozeClicked();
    void unmuteClicked();

protected:
    void closeEvent(QCloseEvent *event) override;
};
