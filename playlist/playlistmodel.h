#pragma once

#include <QAbstractTableModel>

class playList;

// The playlist as the table shows it: one row per track, the title and the
// length. The view asks only for the rows it paints, so a library of any
// size costs no widget per row. The controller, the only one that edits the
// playlist, tells the model of every change it makes.
class playListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit playListModel(playList *list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Tracks added at the end of the playlist since the last call become rows.
    void showAdded();
    // Before and after the controller takes rows first..last out of the playlist.
    void beginRemove(int first, int last);
    void endRemove();
    void beginClear();
    void endClear();
    // Rows first..last now show other tracks (a move).
    void rowsReordered(int first, int last);

private:
    playList *list;
    int shownRows = 0; // the rows the views know of
    int removing = 0;
};
