#include "playlist/playlistmodel.h"

#include "library/musicinfo.h"
#include "playlist/playlist.h"

playListModel::playListModel(playList *playlist, QObject *parent)
    : QAbstractTableModel(parent), list(playlist)
{
}

int playListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownRows;
}

int playListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant playListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shownRows)
        return QVariant();
    const musicInfo *track = list->at(index.row());
    if (!track)
        return QVariant();
    return index.column() == 0 ? track->title : track->lengthText;
}

QVariant playListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return section == 0 ? tr("曲名") : tr("時間");
}

Qt::ItemFlags playListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void playListModel::showAdded()
{
    const int count = list->size();
    if (count <= shownRows)
        return;
    beginInsertRows(QModelIndex(), shownRows, count - 1);
    shownRows = count;
    endInsertRows();
}

void playListModel::beginRemove(int first, int last)
{
    beginRemoveRows(QModelIndex(), first, last);
    removing = last - first + 1;
}

void playListModel::endRemove()
{
    shownRows -= removing;
    removing = 0;
    endRemoveRows();
}

void playListModel::beginClear()
{
    beginResetModel();
}

void playListModel::endClear()
{
    shownRows = list->size();
    endResetModel();
}

void playListModel::rowsReordered(int first, int last)
{
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, 1), {Qt::DisplayRole});
}
