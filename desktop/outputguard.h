#pragma once

#include <QByteArray>
#include <QObject>

// Makes sure an alarm is heard: the desktop's default output (the sound
// server's default sink) is unmuted and raised when an alarm rings, and put
// back as it was when the ringing ends, unless the person changed it
// meanwhile. It also tells ahead of time whether that output is silent.
// Every call is asynchronous; without a sound server nothing happens.
class outputGuard : public QObject
{
    Q_OBJECT
public:
    struct Output
    {
        bool known = false; // false until the server answered, and without one
        QByteArray sink;
        bool muted = false;
        int percent = 0; // the loudest channel, as the desktop's mixer shows it
    };

    explicit outputGuard(QObject *parent = nullptr);

    // Asks for the default output's state; stateChanged follows the answer.
    void refresh();
    Output state() const;
    // Muted, or so low that a sleeping person would not hear it.
    static bool isSilent(const Output &output);
    static constexpr int silentBelowPercent = 10;

    // Unmutes the default output and raises it to `minimumPercent` when it is
    // lower; what it changed is remembered for restore().
    void makeAudible(int minimumPercent);
    // Puts back what makeAudible changed, where the output still shows what
    // makeAudible left; a change the person made since stands.
    void restore();
    bool hasChanges() const;

Q_SIGNALS:
    void stateChanged();
    // What makeAudible did, once the server answered.
    void madeAudible(bool unmuted, bool raised);
    void restored();

private:
    struct Change
    {
        QByteArray sink;
        bool unmuted = false;
        bool raised = false;
        QByteArray volumeBefore; // the sink's pa_cvolume, every channel
        quint32 volumeSet = 0;   // the loudest channel after raising
    };
    void onState(const Output &output);
    void onChanged(const Change &change);

    Output current;
    Change change;
    bool changed = false;
    bool audiblePending = false; // makeAudible asked, no answer yet
    bool restoreWanted = false;  // restore() came before that answer
};
