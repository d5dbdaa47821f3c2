#pragma once

#include "player/gsthandover.h"
#include "player/gstplaybin.h"
#include "player/gstreplaygain.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

// Plays audio files straight through GStreamer: one playbin, one PulseAudio
// stream for as long as it plays on, and gapless changes to the next file
// prepared with setNextFile(). Everything here runs on the GUI thread; the
// bus is read by a timer, and the streaming threads only see the handover.
class gstEngine : public QObject
{
    Q_OBJECT
public:
    enum class State { Stopped, Playing, Paused, Error };
    Q_ENUM(State)
    using ReplayGain = gstReplayGain::Mode;

    explicit gstEngine(QObject *parent = nullptr);
    ~gstEngine() override;

    // Starts the file at once; false when it is not a file (then the state
    // is the error state). A file that cannot be decoded reports failed().
    bool playFile(const QString &file);
    void stop();
    // Holds the stream at its position (the server corks it); resume() goes on.
    void pause();
    void resume();
    // Lands on the sample asked for, also while paused.
    void seek(qint64 msec);

    State state() const { return current; }
    bool isPlaying() const { return current == State::Playing; }
    bool isPaused() const { return current == State::Paused; }
    qint64 position() const; // in the file heard now, ms
    qint64 length() const { return lengthMsec; } // -1 until known
    QString currentFile() const { return playing; }
    QString errorText() const { return lastError; }

    // The file to go on with when this one ends, without a gap; empty
    // withdraws it. Replaced or withdrawn after the stream took it, the play
    // ends with the current file.
    void setNextFile(const QString &file);
    QString nextFile() const { return handover.prepared(); }
    // The stream has taken the next file and the output has not reached it
    // yet: a withdrawal now still ends the play with the current file. Once
    // the output holds it (its buffer before the change), it is heard.
    bool nextTaken() const { return !handover.takenNotReached().isEmpty(); }

    // 0.0 to 1.0, heard as the player has always made it sound.
    qreal volume() const { return level; }
    void setVolume(qreal volume);
    bool isMuted() const { return muted; }
    void setMuted(bool mute);
    // A fade on top of the volume (1.0: none); volume() is unaffected.
    void setAttenuation(qreal factor);
    qreal attenuation() const { return damping; }
    // The stream volume the server shows for a level, in percent.
    static double serverFraction(qreal level);
    // The same as the whole percent a mixer shows.
    static int serverPercent(qreal level) { return qRound(serverFraction(level) * 100); }

    // Off by default; a new mode counts from the next explicit start.
    void setReplayGain(ReplayGain mode, double preAmpDb = 0.0, double untaggedDb = 0.0);

signals:
    void stateChanged(gstEngine::State state);
    void lengthChanged(qint64 msec);
    // The file prepared with setNextFile() is heard now.
    void movedToNext(const QString &file);
    // The last file ended and nothing followed it.
    void finished();
    void failed(const QString &file, const QString &reason);

private:
    void pollBus();
    void handle(GstMessage *message);
    void onStreamStart();
    void completeMove();
    void onEnd();
    void release();
    void onError(GstMessage *message);
    void setState(State next);
    void applyVolume();
    void refreshLength();
    bool reachedTarget() const;
    void drainBus();
    void idle();

    std::unique_ptr<gstPlaybin> player;
    // The player's, borrowed.
    GstElement *pipeline = nullptr;
    GstBus *bus = nullptr;
    QTimer busTimer;
    // The output reports a new stream as it takes it in, ahead of the sound
    // by what it holds: the move counts when the sound gets there.
    QTimer moveTimer;
    QElapsedTimer sinceReached;
    QString reachedFile;
    qint64 positionAtReach = 0;
    qint64 polledPosition = 0;
    QElapsedTimer sincePolled;
    // After the last sample went out, the server still plays what it holds.
    QTimer releaseTimer;
    gstHandover handover;

    State current = State::Stopped;
    bool wantPaused = false;
    qint64 pendingSeek = -1;
    bool changing = false; // an asynchronous state change is under way
    qint64 lengthMsec = -1;
    QString playing;
    QString lastError;
    mutable qint64 lastPosition = 0;
    qreal level = 1.0;
    qreal damping = 1.0;
    bool muted = false;
    std::unique_ptr<gstReplayGain> gain; // made once GStreamer is initialised
};
