#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The small always-on-top window of a ringing alarm: its time, what plays,
// a mute warning, and the stop and snooze buttons. It answers whatever other
// window or box of the player is open. Keys: Return, Enter and Space press the
// focused button (stop when it shows), Escape stops as closing does.
class alarmRingWindow : public QWidget
{
    Q_OBJECT
public:
    explicit alarmRingWindow(QWidget *parent = nullptr);

    // Shown in the middle of the screen, above the player's other windows,
    // active, with stop focused.
    void present();

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
    void keyPressEvent(QKeyEvent *event) override;

private:
    // As high as its wrapped message needs at the present width, never less;
    // a shown window keeps its centre.
    void fitHeight();
};
