#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>

class QTimer;
class alarmOne;
class alarmRingWindow;
class gstEngine;

// One ringing alarm occurrence: its window, and the built-in tone that takes
// over when no music has started some seconds after the alarm fired.
class alarmRinger : public QObject
{
    Q_OBJECT
public:
    explicit alarmRinger(QObject *parent = nullptr);
    ~alarmRinger() override;

    // `musicPlaying` tells whether the player plays a track now; it is asked
    // when the tone delay has passed. `tonePercent` is the tone's volume.
    void start(const alarmOne &alarm, const QDateTime &scheduled, int tonePercent, bool muted,
               std::function<bool()> musicPlaying);
    // Ends the occurrence: the tone stops, the window closes.
    void stop();

    bool isRinging() const;
    bool isToneSounding() const;
    const alarmOne *alarm() const; // the ringing alarm's settings, or null
    // A saved playlist was renamed: a snooze of the ringing alarm keeps to it.
    void renamePlayList(const QString &from, const QString &to);
    void setNowPlaying(const QString &text);
    void setMuted(bool muted);

    int toneVolumePercent() const;
    alarmRingWindow *window() const;
    gstEngine *toneEngine() const;

    int toneDelayMsec = 10000;

Q_SIGNALS:
    void stopRequested();
    void snoozeRequested();
    void unmuteRequested();
    void toneStarted();

private:
    void onToneDelayPassed();
    void startTone();
    void playTone();

    std::unique_ptr<alarmOne> ringing;
    std::unique_ptr<alarmRingWindow> ringWindow;
    std::function<bool()> musicPlaying;
    QTimer *toneDelay = nullptr;
    gstEngine *tone = nullptr;
    int tonePercent = 100;
    bool toneOn = false;
};
