#include "support/playlisttable.h"

#include <QItemSelectionModel>
#include <QTableView>

int PlaylistTable::rows(const QTableView *table)
{
    return table->model() ? table->model()->rowCount() : 0;
}

QString PlaylistTable::text(const QTableView *table, int row, int column)
{
    return table->model()->index(row, column).data().toString();
}

QStringList PlaylistTable::titles(const QTableView *table)
{
    QStringList result;
    for (int row = 0; row < rows(table); ++row)
        result << text(table, row, 0);
    return result;
}

void PlaylistTable::select(QTableView *table, int top, int bottom)
{
    const QAbstractItemModel *model = table->model();
    table->selectionModel()->select(
        QItemSelection(model->index(top, 0), model->index(bottom, model->columnCount() - 1)),
        QItemSelectionModel::Select);
}

QList<QPair<int, int>> PlaylistTable::selectedBlocks(const QTableView *table)
{
    QList<QPair<int, int>> blocks;
    for (const QItemSelectionRange &range : table->selectionModel()->selection())
        blocks << qMakePair(range.top(), range.bottom());
    return blocks;
}
