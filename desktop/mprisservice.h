#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

class vurnCore;

// The player on the session bus as org.mpris.MediaPlayer2.vurn, so desktop
// media keys and media widgets reach it. The service reads what is playing
// from the controller and asks for every command through a signal: the main
// window carries them out with its mode rules, after the D-Bus call has
// returned, and without a box (media keys come from anywhere, even a locked
// screen).
class mprisService : public QObject
{
    Q_OBJECT
public:
    mprisService(const QDBusConnection &bus, vurnCore *core, QObject *parent = nullptr);
    ~mprisService() override;

    // False without a session bus (or when the bus refused the object): the
    // player then runs without MPRIS.
    bool isRegistered() const { return registered; }
    QString serviceName() const { return ownedName; }

    // Compares the player's properties with what the bus was told last and
    // sends PropertiesChanged for those that differ.
    void refresh();
    // The position jumped (the seek slider, a D-Bus Seek): sends Seeked.
    void notifySeeked(qint64 positionMsec);

    // What the adaptors export, read from the controller.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    QString trackId() const;
    double volume() const;
    qint64 positionMsec() const;
    qint64 lengthMsec() const;
    bool hasTracks() const;
    bool canSeek() const;
    QString loopStatus() const;
    bool shuffle() const;
    QString currentMode() const;

    // The play modes as MPRIS sees them: three loop states and a shuffle
    // switch. Modes without an exact match read as the nearest; a request
    // that matches what a mode reads as leaves the mode alone.
    static QString loopStatusOf(const QString &mode);
    static bool isShuffled(const QString &mode);
    // The mode a request leads to; empty for a request that is not valid.
    static QString modeForLoopStatus(const QString &current, const QString &loop);
    static QString modeForShuffle(const QString &current, bool shuffle);

    // From the adaptors.
    void seekBy(qint64 offsetUsec);
    void seekTo(const QString &track, qint64 positionUsec);

Q_SIGNALS:
    void raiseRequested();
    void quitRequested();
    void playRequested();
    void stopRequested();
    void pauseRequested();
    void modeRequested(const QString &mode);
    void playPauseRequested();
    void nextRequested();
    void previousRequested();
    void volumeRequested(double level);
    void seekRequested(qint64 positionMsec);
    void openRequested(const QString &path);

private:
    struct Snapshot
    {
        QString status;
        QString metadataKey;
        double volume = -1;
        bool hasTracks = false;
        bool canSeek = false;
        QString loop;
        bool shuffle = false;
    };
    Snapshot current() const;
    void sendChanged(const QVariantMap &changed);

    QDBusConnection bus;
    vurnCore *core;
    class mprisRoot *root = nullptr;
    class mprisPlayer *player = nullptr;
    Snapshot told;
    bool registered = false;
    QString ownedName;
};
