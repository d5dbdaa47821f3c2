#pragma once

#include "engine/rowrange.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <phonon/phononnamespace.h>

class QAbstractButton;
class QAbstractSlider;
class QAction;
class QLabel;
class QTableWidget;
class QTimer;
class musicInfo;
struct storedTrack;
class loadReport;
struct tagReading;
class musicPlay;
class playList;

namespace Phonon {
class MediaObject;
}

// The playback controller: owns the playlist and the player, chooses the next
// and previous track by play mode, and keeps the main window's widgets current.
class vurnCore : public QObject
{
    Q_OBJECT
public:
    explicit vurnCore(QObject *parent = nullptr);
    ~vurnCore() override;

    void setWidgets(QLabel *title, QAction *play, QLabel *time, QAbstractSlider *seek,
                    QTableWidget *playListTable);
    void setModeText(const QString &mode);

    bool playTrack(int index, bool fromHistory);
    bool playNext();
    bool playPrevious();
    bool playShuffled(bool fromHistory);
    void stopPlayback(QAction *action);
    void pushHistory(int index);
    quint32 popHistory();

    QString volumeText(int percent) const;
    void updatePosition(qint64 positionMsec, qint64 lengthMsec);
    int currentLength() const;
    bool isPlaying() const;
    Phonon::MediaObject *mediaObject() const;
    qreal volume() const;
    void setVolumePercent(int percent, QAbstractButton *button, QAbstractSlider *slider);
    void setVolumeLevel(qreal level, QAbstractButton *button, QAbstractSlider *slider);
    void toggleMute(QAbstractButton *button);
    bool hasTracks() const;
    QList<musicInfo *> tracks() const;
    QString msecToString(qint64 msec) const;

    // Table editing: the playlist and the table change together.
    bool addFiles(const QStringList &paths);
    // The saved playlist at start-up: a track whose file is unchanged since it
    // was saved is rebuilt from the kept values, any other is read again.
    void restoreTracks(const QList<storedTrack> &stored);
    // One entry of a longer add: the track joins the playlist (not the table
    // yet), or its failure joins the report.
    // Adds a track from a reading made ahead; failures go to the report.
    void addReading(const QString &path, const tagReading &reading, loadReport &report);
    void addEntry(const storedTrack &entry, loadReport &report);
    // Shows the tracks from `first` on in the table and updates the totals.
    void showNewTracks(int first);
    void clearTracks();
    bool removeTracks(int first, int last);
    bool moveTrack(int from, int to);
    bool moveSelection(int target, const QList<RowRange> &ranges);

    // End of a track in a repeating mode: starts the next one unless every
    // track of the list has just failed to play in a row.
    bool playNextAfterEnd();
    // The track started last ended, errored or stalled without ever playing.
    bool lastTrackFailed() const;

    QString countText;
    QString totalText;
    QString modeText;
    qint32 currentIndex = 0;
    playList *playlist = nullptr;
    musicPlay *player = nullptr;
    QVector<quint32> shuffleOrder;
    QVector<quint32> history;
    QLabel *titleLabel = nullptr;
    QAction *playAction = nullptr;
    QLabel *timeLabel = nullptr;
    QAbstractSlider *seekSlider = nullptr;
    QTableWidget *table = nullptr;

    // How long a started track may take to reach the playing state before it
    // counts as unplayable.
    int startTimeoutMsec = 5000;

Q_SIGNALS:
    // The track just started turned out unplayable; the controller has
    // already shown it as stopped.
    void trackFailed();

private:
    void onStateChanged(Phonon::State newState, Phonon::State oldState);
    void onFinished();
    void onStartTimeout();
    void markFailed(bool now = true);
    void refreshTotals();
    void appendRows(int first);
    void applyOrder(const QVector<int> &order, int first, int last);
    int randomIndex() const;
    int validOrZero(int index) const;

    QTimer *startWatch = nullptr;
    // A track was started and has not reached the playing state yet.
    bool awaitingStart = false;
    // The track started last is still the one the player is meant to play.
    bool trackLive = false;
    bool lastFailed = false;
    int failuresInRow = 0;
};
