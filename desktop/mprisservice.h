#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

class vurnCore;

// The player on the session bus as org.mpris.MediaPlayer2.vurn, so desktop
// media keys and media widgets reach it. The service reads what is playing
// from the controller and asks for every command through a signal: the main
// window carries them out with its own warnings and mode rules, after the
// D-Bus call has returned.
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

    // From the adaptors.
    void seekBy(qint64 offsetUsec);
    void seekTo(const QString &track, qint64 positionUsec);

Q_SIGNALS:
    void raiseRequested();
    void quitRequested();
    void playRequested();
    void stopRequested();
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
