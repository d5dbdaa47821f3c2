#include "playlist/playlist.h"

#include "library/musicinfo.h"

#include <QtGlobal>

playList::playList(QObject *parent)
    : QObject(parent)
{
}

playList::~playList()
{
    qDeleteAll(items);
    items.clear();
}

bool playList::addFile(const QString &path)
{
    auto *info = new musicInfo(nullptr);
    if (!info->readTags(path)) {
        lastFailure = info->failureReason;
        delete info;
        return false;
    }
    addTrack(info);
    return true;
}

void playList::addTrack(musicInfo *info)
{
    items.append(info);
    ++trackCount;
    totalMsec += info->lengthMsec;
}

bool playList::removeAt(int index)
{
    if (!isValidIndex(index))
        return false;
    musicInfo *info = items.takeAt(index);
    --trackCount;
    totalMsec -= info->lengthMsec;
    delete info;
    return true;
}

bool playList::removeRange(int first, int last)
{
    if (first > last || !isValidIndex(first) || !isValidIndex(last))
        return false;
    const auto begin = items.begin() + first;
    const auto end = items.begin() + last + 1;
    for (auto it = begin; it != end; ++it) {
        totalMsec -= (*it)->lengthMsec;
        delete *it;
    }
    items.erase(begin, end);
    trackCount -= last - first + 1;
    return true;
}

bool playList::moveTrack(int from, int to)
{
    if (!isValidIndex(from))
        return false;
    to = qBound(0, to, items.size());
    // `to` is an insertion position in the list as it was before the move.
    if (to == from || to == from + 1)
        return true;
    items.move(from, to > from ? to - 1 : to);
    return true;
}

void playList::clear()
{
    qDeleteAll(items);
    items.clear();
    trackCount = 0;
    totalMsec = 0;
}

int playList::size() const
{
    return items.size();
}

bool playList::isValidIndex(int index) const
{
    return index >= 0 && index < items.size();
}

musicInfo *playList::at(int index) const
{
    if (!isValidIndex(index))
        return nullptr;
    return items.at(index);
}

musicInfo *playList::last() const
{
    if (items.isEmpty())
        return nullptr;
    return items.last();
}

QList<musicInfo *> playList::tracks() const
{
    return items;
}

#include "moc_playlist.cpp"
