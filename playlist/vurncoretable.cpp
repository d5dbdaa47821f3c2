// The controller's table editing: the playlist and the table change together.
#include "playlist/vurncore.h"

#include "library/loadreport.h"
#include "library/musicinfo.h"
#include "library/tagreader.h"
#include "playlist/playlist.h"

#include "playlist/playlistmodel.h"

#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

// --- Table editing -------------------------------------------------------
// The table and the playlist change in the same step: row i of the table
// always shows entry i (title, length).

void vurnCore::refreshTotals()
{
    countText = QString::number(playlist->trackCount);
    totalText = msecToString(playlist->totalMsec);
}

void vurnCore::appendRows(int first)
{
    Q_UNUSED(first);
    model->showAdded();
}

bool vurnCore::addFiles(const QStringList &paths)
{
    restoreTracks(musicInfo::entriesFor(paths));
    return true;
}

void vurnCore::restoreTracks(const QList<storedTrack> &stored)
{
    const int before = playlist->size();
    loadReport report;
    for (const storedTrack &entry : stored)
        addEntry(entry, report);
    showNewTracks(before);
    // One box for the whole command, after the rows are in.
    report.show(table ? table->window() : nullptr);
}

void vurnCore::addEntry(const storedTrack &entry, loadReport &report)
{
    auto *info = new musicInfo(nullptr);
    if (info->restoreStored(entry)) {
        playlist->addTrack(info);
        return;
    }
    delete info;
    if (!playlist->addFile(entry.file) && !playlist->lastFailure.isEmpty())
        report.add(entry.file, playlist->lastFailure);
}

void vurnCore::addReading(const QString &path, const tagReading &reading, loadReport &report)
{
    auto *info = new musicInfo(nullptr);
    if (info->takeReading(path, reading)) {
        playlist->addTrack(info);
        return;
    }
    if (!info->failureReason.isEmpty())
        report.add(path, info->failureReason);
    delete info;
}

void vurnCore::showNewTracks(int first)
{
    appendRows(first);
    refreshTotals();
}

void vurnCore::clearTracks()
{
    model->beginClear();
    playlist->clear();
    model->endClear();
    refreshTotals();
    // A track still playing belongs to no row now; "next" starts the new list.
    currentIndex = -1;
    currentGone = true;
    showTitle();
}

bool vurnCore::removeTracks(int first, int last)
{
    if (!playlist->isValidIndex(first) || !playlist->isValidIndex(last))
        return false;
    if (first <= last) {
        model->beginRemove(first, last);
        playlist->removeRange(first, last);
        model->endRemove();
        // The current track keeps its place among the others; removed, the
        // row before the gap stands for it, so that "next" goes on after it.
        if (currentIndex > last) {
            currentIndex -= last - first + 1;
        } else if (currentIndex >= first) {
            currentIndex = first - 1;
            currentGone = true;
        }
        showTitle();
    }
    refreshTotals();
    return true;
}

// Rows first..last of the playlist and the table take the entries that
// order[first..last] names (old row numbers); rows outside are untouched.
void vurnCore::applyOrder(const QVector<int> &order, int first, int last)
{
    if (first > last)
        return;
    QList<musicInfo *> &items = playlist->items;
    QVector<musicInfo *> oldItems(last - first + 1);
    for (int row = first; row <= last; ++row)
        oldItems[row - first] = items.at(row);
    for (int row = first; row <= last; ++row)
        items[row] = oldItems[order.at(row) - first];
    if (!currentGone && currentIndex >= first && currentIndex <= last) {
        for (int row = first; row <= last; ++row) {
            if (order.at(row) == currentIndex) {
                currentIndex = row;
                break;
            }
        }
        showTitle();
    }

    model->rowsReordered(first, last);
}

bool vurnCore::moveTrack(int from, int to)
{
    if (!playlist->isValidIndex(from))
        return false;
    const int size = playlist->size();
    // `to` becomes an insertion position counted before the track is taken out.
    if (from < to)
        ++to;
    to = qBound(0, to, size);
    const int dest = to > from ? to - 1 : to;
    if (dest == from)
        return true;
    const int first = qMin(from, dest);
    const int last = qMax(from, dest);
    QVector<int> order(size);
    for (int row = 0; row < size; ++row)
        order[row] = row;
    if (from < dest) {
        for (int row = from; row < dest; ++row)
            order[row] = row + 1;
    } else {
        for (int row = dest + 1; row <= from; ++row)
            order[row] = row - 1;
    }
    order[dest] = from;
    applyOrder(order, first, last);
    return true;
}

bool vurnCore::moveSelection(int target, const QList<RowRange> &ranges)
{
    if (ranges.isEmpty())
        return false;
    const int size = playlist->size();
    const bool up = target < ranges.first().top;
    if (!playlist->isValidIndex(up ? target : target - 1))
        return false;
    for (const RowRange &range : ranges) {
        if (!playlist->isValidIndex(range.top) || !playlist->isValidIndex(range.bottom)
            || range.bottom < range.top)
            return false;
    }

    // All selected rows end in one block, in their earlier order, next to the
    // target; the other rows keep their order around it. For a single block
    // this is where moving it one row at a time would put it.
    QVector<bool> selected(size, false);
    int firstSelected = size;
    int lastSelected = -1;
    for (const RowRange &range : ranges) {
        for (int row = range.top; row <= range.bottom; ++row)
            selected[row] = true;
        firstSelected = qMin(firstSelected, range.top);
        lastSelected = qMax(lastSelected, range.bottom);
    }
    QVector<int> moved;
    QVector<int> others;
    moved.reserve(size);
    others.reserve(size);
    for (int row = 0; row < size; ++row)
        (selected[row] ? moved : others).append(row);
    const int count = moved.size();

    int start;
    if (up)
        start = target;
    else if (target < size)
        start = qBound(firstSelected, target - count + 1, size - count);
    else
        start = size - count;
    start = qBound(0, start, size - count);

    QVector<int> order;
    order.reserve(size);
    for (int i = 0; i < start; ++i)
        order.append(others.at(i));
    order += moved;
    for (int i = start; i < others.size(); ++i)
        order.append(others.at(i));

    const int first = qMin(start, firstSelected);
    const int last = qMax(start + count - 1, lastSelected);
    applyOrder(order, first, last);

    if (table) {
        // Exactly the moved rows end selected; the current row is the one
        // nearest the target, so the view follows the block.
        const int current = up ? start : start + count - 1;
        QItemSelectionModel *selection = table->selectionModel();
        selection->setCurrentIndex(model->index(current, 0), QItemSelectionModel::NoUpdate);
        selection->select(QItemSelection(model->index(start, 0),
                                         model->index(start + count - 1, model->columnCount() - 1)),
                          QItemSelectionModel::ClearAndSelect);
    }
    return true;
}
