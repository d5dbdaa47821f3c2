#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

// When playback should end for someone falling asleep: after a number of
// minutes or with the current track, fading the sound out first; and, apart
// from that, a one-time stop at the end of the current track. It only decides
// and tells; the window stops playback and applies the fade. It is driven by
// tick() (once a second) so that it follows the wall clock, across a suspend.
class sleepTimer : public QObject
{
    Q_OBJECT
public:
    // The timed choice fades over its last minute.
    static constexpr qint64 fadeMsec = 60 * 1000;

    explicit sleepTimer(QObject *parent = nullptr);

    // Playback ends `minutes` from `now` (a new choice replaces the old one).
    void startMinutes(int minutes, const QDateTime &now);
    // Playback ends with the current track, fading over what is left of it.
    void startEndOfTrack(qint64 positionMsec, qint64 lengthMsec);
    // Off: the fade (if any) is undone.
    void cancel();
    bool isActive() const { return mode != Off; }
    bool endsWithTrack() const { return mode == EndOfTrack; }
    int chosenMinutes() const { return mode == Timed ? minutes : 0; }

    // One stop at the end of the current track, whatever the play mode.
    void setStopAfterTrack(bool on);
    bool stopAfterTrack() const { return stopOnce; }

    // A track ended: true when playback is to stop here. Ends the one-time
    // stop and an end-of-track choice.
    bool takeTrackEnd();

    // Advances the fade and ends a timed choice whose time has come.
    void tick(const QDateTime &now, qint64 positionMsec, qint64 lengthMsec);
    // The factor on the volume now: 1.0 outside the fade.
    qreal attenuation() const { return factor; }
    // "29:41" for a timed choice (rounded up), "曲の終わり" for the track, or
    // empty when off.
    QString remainingText(const QDateTime &now) const;

Q_SIGNALS:
    void attenuationChanged(qreal factor);
    // Time is up: stop playback. The fade is undone right after.
    void expired();
    // Started, changed, cancelled or ended: menus and tooltips follow.
    void changed();

private:
    enum Mode { Off, Timed, EndOfTrack };
    void setFactor(qreal value);
    void end();

    Mode mode = Off;
    int minutes = 0;
    QDateTime deadline;
    qint64 fadeSpan = 0; // end of track: what was left when it was chosen
    qreal factor = 1.0;
    bool stopOnce = false;
};
