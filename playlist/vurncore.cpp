#include "playlist/vurncore.h"

#include "library/loadreport.h"

#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/playlist.h"
#include "playlist/playlistmodel.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QRandomGenerator>
#include <QTableView>
#include <QTimer>

#include <utility>

namespace {

// Empty history, as popHistory reports it; callers treat anything above
// 2147483646 as "no entry".
constexpr quint32 noHistoryEntry = 2147483647u;

} // namespace

vurnCore::vurnCore(QObject *parent)
    : QObject(parent)
{
    modeText = QStringLiteral("全曲リピート(>>)");
    playlist = new playList(this);
    model = new playListModel(playlist, this);
    player = new musicPlay();
    player->setParent(this);
    startWatch = new QTimer(this);
    startWatch->setSingleShot(true);
    connect(startWatch, &QTimer::timeout, this, &vurnCore::onStartTimeout);
    // Connected before anyone else can connect, so that by the time the main
    // window hears of the end of a track, lastTrackFailed() already knows
    // whether it ever played.
    connect(player, &musicPlay::stateChanged, this, &vurnCore::onStateChanged);
    connect(player, &musicPlay::finished, this, &vurnCore::onFinished);
    connect(player, &musicPlay::failed, this, &vurnCore::onFailed);
    connect(player, &musicPlay::movedToNext, this, &vurnCore::onMovedToNext);
    connect(player, &musicPlay::lengthKnown, this, [this](qint64 msec) {
        if (seekSlider && trackLive)
            seekSlider->setMaximum(int(msec));
    });
    refreshTotals();
}

vurnCore::~vurnCore()
{
    startWatch->stop();
    // The player stops its media on destruction; nothing may reach us then.
    disconnect(player, nullptr, this, nullptr);
}

void vurnCore::setWidgets(QLabel *title, QAction *play, QLabel *time, QAbstractSlider *seek,
                          QTableView *playListTable)
{
    titleLabel = title;
    playAction = play;
    timeLabel = time;
    seekSlider = seek;
    table = playListTable;
    if (table)
        table->setModel(model);
}

void vurnCore::setModeText(const QString &mode)
{
    modeText = mode;
    queueFollowing();
}

// --- Starting tracks -----------------------------------------------------

bool vurnCore::playTrack(int index, bool fromHistory)
{
    if (!playlist->isValidIndex(index))
        return false;
    musicInfo *track = playlist->at(index);
    stopPlayback(playAction);
    // A track started by hand draws its own successor.
    drawnRow = -1;
    if (!player->playFile(track->filePath)) {
        // The file went away. It still counts as the track started last, so
        // that the next choice moves past it instead of trying it again, and
        // whoever skips failed tracks knows which one failed.
        currentIndex = index;
        currentGone = false;
        // The title line still names the track before: no number to keep up.
        currentTitle.clear();
        trackLive = false;
        awaitingStart = true;
        markFailed(false);
        return false;
    }
    currentIndex = index;
    currentGone = false;
    currentTitle = track->title;
    lastFailed = false;
    trackLive = true;
    awaitingStart = true;
    startWatch->start(qMax(0, startTimeoutMsec));

    showTitle();
    if (playAction)
        playAction->setText(tr("■"));
    if (seekSlider)
        seekSlider->setMaximum(track->lengthMsec);
    updatePosition(0, track->lengthMsec);
    if (!fromHistory)
        pushHistory(index);
    selectOnly(index);
    return true;
}

void vurnCore::selectOnly(int row)
{
    if (!table || !table->selectionModel())
        return;
    // Not selectRow: that reads the keyboard's modifiers and the view's drag
    // state, so a Shift or a mouse button held meanwhile would extend the
    // selection behind the highlight.
    const QModelIndex at = model->index(row, 0);
    if (!at.isValid())
        return;
    QItemSelectionModel *selection = table->selectionModel();
    selection->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    selection->select(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void vurnCore::showTitle()
{
    if (!titleLabel || currentTitle.isNull())
        return;
    if (currentGone)
        titleLabel->setText(currentTitle);
    else
        titleLabel->setText(QString::number(currentIndex + 1) + QLatin1String(" : ") + currentTitle);
}

bool vurnCore::currentTrackGone() const
{
    return currentGone;
}

int vurnCore::randomIndex() const
{
    const int size = playlist->size();
    return size > 0 ? int(QRandomGenerator::global()->bounded(quint32(size))) : 0;
}

int vurnCore::validOrZero(int index) const
{
    return playlist->isValidIndex(index) ? index : 0;
}

bool vurnCore::playNext()
{
    if (playlist->size() == 0)
        return false;
    if (modeText == QStringLiteral("シャッフル"))
        return playShuffled(false);
    const int index = followingRow();
    drawnRow = -1;
    pushHistory(index);
    return playTrack(index, false);
}

int vurnCore::followingRow()
{
    const int size = playlist->size();
    if (size == 0)
        return -1;
    // currentIndex is not adjusted when tracks are removed; a stale one
    // counts as the start of the list.
    const int current = validOrZero(currentIndex);
    const QString numbered = QStringLiteral("リピートなし：");
    int index = 0;
    if (modeText == QStringLiteral("1曲リピート")) {
        index = current;
    } else if (modeText == QStringLiteral("全曲リピート(>>)")) {
        index = currentIndex + 1;
        if (index >= size || index < 0)
            index = 0;
    } else if (modeText == QStringLiteral("全曲リピート(<<)")) {
        // A removed current track: the row before it is already the next one back.
        index = currentGone ? currentIndex : currentIndex - 1;
        if (index < 0 || index >= size)
            index = size - 1;
    } else if (modeText == QStringLiteral("ランダム") || modeText == QStringLiteral("リピートなし：ランダム")) {
        if (drawnRow < 0 || drawnRow >= size)
            drawnRow = randomIndex();
        index = drawnRow;
    } else if (modeText == QStringLiteral("シャッフル")) {
        index = peekShuffled();
    } else if (modeText.left(numbered.size()) == numbered) {
        // A track number that names no track (missing, zero, too large, not a
        // number) starts the list from the top rather than leave silence.
        const QStringList pieces = modeText.split(QStringLiteral("："));
        const int number = pieces.size() > 1 ? pieces.at(1).toInt(nullptr, 10) : 0;
        index = validOrZero(number - 1);
    } else {
        index = 0;
    }
    return index;
}

int vurnCore::rowNamedByNext() const
{
    // The rows playNext picks by position; the random ones and a step back
    // from the top take whatever rows there are, so the first will do.
    if (modeText == QStringLiteral("1曲リピート"))
        return qMax(0, currentIndex);
    if (modeText == QStringLiteral("全曲リピート(>>)"))
        return qMax(0, currentIndex + 1);
    if (modeText == QStringLiteral("全曲リピート(<<)"))
        return qMax(0, currentIndex - 1);
    const QString numbered = QStringLiteral("リピートなし：");
    if (modeText.startsWith(numbered) && modeText != QStringLiteral("リピートなし：ランダム"))
        return qMax(0, modeText.mid(numbered.size()).toInt(nullptr, 10) - 1);
    return 0;
}

bool vurnCore::playPrevious()
{
    const int size = playlist->size();
    if (size == 0)
        return false;
    const bool random = modeText == QStringLiteral("ランダム") || modeText == QStringLiteral("リピートなし：ランダム");
    const bool shuffle = modeText == QStringLiteral("シャッフル");
    int index;
    if (modeText == QStringLiteral("全曲リピート(>>)")) {
        index = currentGone ? currentIndex : currentIndex - 1;
        if (index < 0 || index >= size)
            index = size - 1;
    } else if (modeText == QStringLiteral("全曲リピート(<<)")) {
        index = currentIndex + 1;
        if (index >= size || index < 0)
            index = 0;
    } else if (random || shuffle) {
        // Entries left over from before a removal are passed over.
        quint32 entry = popHistory();
        while (entry < noHistoryEntry && entry >= quint32(size))
            entry = popHistory();
        if (entry >= noHistoryEntry) {
            if (shuffle)
                return playShuffled(true);
            index = randomIndex();
        } else {
            index = int(entry);
        }
    } else {
        index = validOrZero(currentIndex);
    }
    currentIndex = index;
    return playTrack(index, true);
}

void vurnCore::buildShuffleOrder()
{
    const quint32 size = quint32(playlist->size());
    shuffleOrder.reserve(int(size));
    for (quint32 i = 0; i < size; ++i)
        shuffleOrder.append(i);
    QRandomGenerator *random = QRandomGenerator::global();
    for (quint32 i = 1; i < size; ++i) {
        const quint32 j = random->bounded(i + 1);
        std::swap(shuffleOrder[int(i)], shuffleOrder[int(j)]);
    }
}

int vurnCore::peekShuffled()
{
    const quint32 size = quint32(playlist->size());
    // Entries of tracks removed since the order was built are dropped; when
    // the order runs out a new one is drawn.
    for (int attempt = 0; attempt < 2 && size > 0; ++attempt) {
        if (shuffleOrder.isEmpty())
            buildShuffleOrder();
        while (!shuffleOrder.isEmpty()) {
            if (shuffleOrder.last() < size)
                return int(shuffleOrder.last());
            shuffleOrder.removeLast();
        }
    }
    return -1;
}

bool vurnCore::playShuffled(bool fromHistory)
{
    const int index = peekShuffled();
    if (index < 0)
        return false;
    shuffleOrder.removeLast();
    if (!fromHistory)
        pushHistory(index);
    stopPlayback(playAction);
    return playTrack(index, false);
}

void vurnCore::stopPlayback(QAction *action)
{
    if (action)
        action->setText(tr("♪"));
    startWatch->stop();
    awaitingStart = false;
    trackLive = false;
    pendingSeek = -1;
    resuming = Resume::None;
    setPaused(false);
    forgetQueued();
    player->stop();
}

void vurnCore::pushHistory(int index)
{
    if (!history.isEmpty() && history.last() == quint32(index))
        return;
    history.prepend(quint32(index));
    const int limit = playlist->size();
    if (history.size() > limit)
        history.resize(limit);
}

quint32 vurnCore::popHistory()
{
    if (history.isEmpty())
        return noHistoryEntry;
    return history.takeLast();
}

#include "moc_vurncore.cpp"
