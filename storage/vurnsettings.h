#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QSettings;
class musicInfo;
struct storedTrack;

// The one reader and writer of the INI state files: "Vurn.ini" and saved playlists.
class vurnSettings : public QObject
{
    Q_OBJECT
public:
    explicit vurnSettings(QObject *parent = nullptr);
    ~vurnSettings() override;

    void openFile(QString &name);

    QString loadRepeatMode() const;
    void saveRepeatMode(const QString &mode);
    int loadVolume() const;
    void saveVolume(int volume);
    bool loadAlarmEnable() const;
    void saveAlarmEnable(bool enabled);
    // Alarm behaviour of the other-settings tab; values outside the choosers'
    // lists load as the defaults.
    int loadSnoozeMinutes() const;
    void saveSnoozeMinutes(int minutes);
    int loadCatchUpMinutes() const;
    void saveCatchUpMinutes(int minutes);
    bool loadKeepRunningInTray() const;
    void saveKeepRunningInTray(bool keep);
    bool loadStayAwakeForAlarms() const;
    void saveStayAwakeForAlarms(bool stayAwake);
    bool loadWakeFromSleep() const; // on unless turned off
    void saveWakeFromSleep(bool wake);
    // "off", "track" (the default) or "album".
    QString loadReplayGain() const;
    void saveReplayGain(const QString &mode);
    static QStringList replayGainModes();
    // dB added to the tracks' gain, -15 to 15; 0 unless set.
    int loadReplayGainPreAmp() const;
    void saveReplayGainPreAmp(int decibels);
    bool loadUnmuteForAlarms() const; // on unless turned off
    void saveUnmuteForAlarms(bool unmute);
    // Whether starting at login was offered once already.
    bool loadAutostartOffered() const;
    void saveAutostartOffered(bool offered);
    // The folder the file dialogs used last; empty until one was used.
    QString loadLastFolder() const;
    void saveLastFolder(const QString &folder);
    static QList<int> snoozeMinuteItems();
    static QList<int> catchUpMinuteItems();
    QByteArray loadGeometry() const;
    QByteArray loadWindowState() const;
    void saveWindowLayout(const QByteArray &geometry, const QByteArray &state);
    QStringList loadPlayList() const;
    // The playlist with what was kept of each track (stamps included when saved).
    // The kept tags and length come only with both stamps, since only then
    // can they be trusted for playing; `forShow` reads them in any case.
    QList<storedTrack> loadPlayListEntries(bool forShow = false) const;
    // The same read of the file as it is now, for a worker thread: it
    // touches nothing of this object.
    std::function<QList<storedTrack>()> playListReader() const;
    void savePlayList(const QList<musicInfo *> &tracks);
    void savePlayList(const QList<storedTrack> &tracks);
    // Lets go of the file without writing anything (it was only read).
    void closeUnchanged();

    // Drops every key of the open file in memory, so that the next sync
    // writes only what was saved after it; the file itself stays in place.
    void clearAll();
    // Writes pending changes to disk now (through a temporary file and a rename).
    void sync();
    // The last sync reached the disk.
    bool isSaved() const;

    // The folder of "Vurn.ini" (see stateFolders).
    static QString stateDirectory();
    // Tests point the state files at a temporary folder; empty restores the default.
    static void setStateDirectoryOverride(const QString &dir);
    // False when "playlists/" + name would resolve outside the playlists folder.
    static bool isSafePlaylistName(const QString &name);

    QString filePath;
    QSettings *store = nullptr;

private:
    friend class tst_vurnSettings;

    // A lock file left by a killed process would keep the next save waiting
    // (for ever on a lock QLockFile cannot read); remove such leftovers.
    static void removeStaleLock(const QString &lockPath);
    // True for a lock whose owner is gone: a dead pid of this machine, or a
    // file that stays empty or garbled.
    static bool isAbandonedLock(const QString &path);

    QVariant generalValue(const QString &key) const;
    bool generalFlag(const QString &key, bool fallback) const;
    int listedValue(const QString &key, const QList<int> &allowed, int fallback) const;
    void setGeneralValue(const QString &key, const QVariant &value);
    QString stringValue(const QString &key, const QString &fallback = QString()) const;

    void setPendingPlaylist(const QByteArray &text, int count);
    // The playlist saved since the last sync, as the file's text.
    QByteArray pendingPlaylist;
    bool hasPendingPlaylist = false;
    bool writeFailed = false;
    bool boolValue(const QString &key, bool fallback) const;
};
