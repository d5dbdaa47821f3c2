#pragma once

#include "player/gstengine.h"
#include "playlist/rowrange.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QAbstractButton;
class QAbstractSlider;
class QAction;
class QLabel;
class QTableView;
class QTimer;
class musicInfo;
struct storedTrack;
class loadReport;
struct tagReading;
class musicPlay;
class playList;
class playListModel;

// The playback controller: owns the playlist and the player, chooses the next
// and previous track by play mode, and keeps the main window's widgets current.
class vurnCore : public QObject
{
    Q_OBJECT
public:
    explicit vurnCore(QObject *parent = nullptr);
    ~vurnCore() override;

    void setWidgets(QLabel *title, QAction *play, QLabel *time, QAbstractSlider *seek,
                    QTableView *playListTable);
    void setModeText(const QString &mode);

    bool playTrack(int index, bool fromHistory);
    bool playNext();
    // The row playNext would start once the list is long enough (a list still
    // coming in may not have it yet); 0 for the modes that take any row.
    int rowNamedByNext() const;
    bool playPrevious();
    bool playShuffled(bool fromHistory);
    void stopPlayback(QAction *action);

    // Pausing holds the track at its position and resuming goes on from
    // there; stopping, starting a track or an error ends the pause.
    bool isPaused() const;
    bool pausePlayback();
    // False when the track cannot go on (its file is gone): the warning has
    // been shown and the caller moves on as at the end of a track.
    bool resumePlayback();
    // Where the current track is, also while paused; 0 when stopped.
    qint64 positionMsec() const;
    void seekTo(qint64 msec);
    void pushHistory(int index);
    quint32 popHistory();

    QString volumeText(int percent) const;
    void updatePosition(qint64 positionMsec, qint64 lengthMsec);
    int currentLength() const;
    bool isPlaying() const;
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

    // The track started last is no longer in the list (removed, or the list
    // replaced); currentIndex then is the row before where it was, or -1.
    bool currentTrackGone() const;

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
    QTableView *table = nullptr;
    // What the table shows of the playlist.
    playListModel *model = nullptr;

    // How long a started track may take to reach the playing state before it
    // counts as unplayable.
    int startTimeoutMsec = 5000;

    // True while the track playing is the last one: playback is to stop at
    // its end whatever the mode ("stop after this track", say), so nothing
    // is queued after it.
    std::function<bool()> endsWithThisTrack;
    // Hands the player the track the mode will choose next, so that it
    // follows without a gap; withdraws it when the choice changed. Cheap:
    // call it whenever the mode, the list or a stop choice may have changed.
    void queueFollowing();
    // The file queued to follow the current track; empty when none.
    QString queuedFile() const { return queued; }

Q_SIGNALS:
    // The track just started turned out unplayable; the controller has
    // already shown it as stopped.
    void trackFailed();
    void pausedChanged(bool paused);
    // A track is heard now: started and playing, or followed on gaplessly.
    void trackStarted();
    // The track ended, or failed as it started: the window decides what
    // follows (the mode, a stop choice, an alarm's skip).
    void trackEnded();
    // A paused track could not be resumed, not even by opening it again.
    void resumeFailed();

private:
    void onStateChanged(gstEngine::State state);
    void onFinished();
    void onFailed(const QString &file);
    void onMovedToNext(const QString &file);
    // The row playNext starts; random draws are kept until used, so the
    // row queued is the row then played. -1: the mode stops at the end.
    int followingRow();
    int peekShuffled();
    void buildShuffleOrder();
    void forgetQueued();
    // The track that followed gaplessly becomes the current one, as if
    // playNext had started it.
    void adoptRow(int index);
    void onStartTimeout();
    void markFailed(bool now = true);
    void refreshTotals();
    // The title line: the row number while the track is in the list.
    void showTitle();
    void selectOnly(int row);
    void appendRows(int first);
    void applyOrder(const QVector<int> &order, int first, int last);
    int randomIndex() const;
    int validOrZero(int index) const;
    void setPaused(bool on);
    bool restartAt(qint64 positionMsec);

    QTimer *startWatch = nullptr;
    // A track was started and has not reached the playing state yet.
    bool awaitingStart = false;
    // The track started last is still the one the player is meant to play.
    bool trackLive = false;
    bool lastFailed = false;
    int failuresInRow = 0;
    bool paused = false;
    qint64 pausedAt = 0;
    // Where a track opened again to resume goes once it plays; -1: nowhere.
    qint64 pendingSeek = -1;
    // A resume under way: the held stream asked to go on, or the file opened
    // again at the place. A failure now is a failure to resume.
    enum class Resume { None, InPlace, Reopened };
    Resume resuming = Resume::None;
    QString currentTitle; // of the track started last; empty before the first
    bool currentGone = false;
    // What was handed to the player to follow, and the row it was at.
    QString queued;
    int queuedRow = -1;
    // A random mode's choice of the next row, drawn once per track.
    int drawnRow = -1;
};
