#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <phonon/phononnamespace.h>

namespace Phonon {
class AudioOutput;
class MediaObject;
}

// The volume and mute of one audio output, kept by the player for every
// stream the output plays. The backend forgets both when a new source starts
// (its new stream takes what the sound server remembers) and reads them back
// rounded, so the level set here is the one that counts: it is handed to the
// sound server before each start, applied again as the stream starts, and put
// back while the new stream settles if it reports something else. Later
// changes on the stream are a person's, in the desktop's mixer: they stand
// until the next start.
class outputLevel : public QObject
{
    Q_OBJECT
public:
    outputLevel(Phonon::MediaObject *media, Phonon::AudioOutput *output, QObject *parent = nullptr);

    qreal level() const;
    bool isMuted() const;
    // 0.0 to 1.0; while muted it is only remembered.
    void setLevel(qreal level);
    void setMuted(bool muted);
    // Call just before the media object starts a new source.
    void prepareStart();
    // A factor 0.0 to 1.0 on the level, for a fade that must not change the
    // volume the person set (level() stays as it is).
    void setAttenuation(qreal factor);
    qreal attenuation() const { return damping; }

    // The whole percent the backend gives the sound server for a level: the
    // media framework's loudness curve, truncated by the backend.
    static int streamPercent(qreal level);

    // Corrections in a row that the stream did not take before giving up
    // until the next start (a server refusing changes must not keep us busy).
    static constexpr int maxCorrections = 3;
    // How long after a start a stream counts as settling.
    static constexpr int settleMsec = 3000;

private:
    void apply();
    void muteOnServer();
    void onStateChanged(Phonon::State newState);
    void onVolumeReported(qreal reported);
    void onMuteReported(bool reported);
    void correctSoon();
    bool isSettling() const;

    Phonon::MediaObject *media;
    Phonon::AudioOutput *output;
    qreal effective() const { return wanted * damping; }

    qreal wanted = 1.0;
    qreal damping = 1.0;
    bool mutedWanted = false;
    int corrections = 0;
    bool correctionQueued = false;
    bool starting = false;
    QElapsedTimer settling;
};
