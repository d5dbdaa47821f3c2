#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QTableView;

// Reads and selects rows of the playlist table the way a person sees them:
// through the view's model and selection.
class PlaylistTable
{
public:
    static int rows(const QTableView *table);
    static QString text(const QTableView *table, int row, int column);
    static QStringList titles(const QTableView *table);
    // Adds rows top..bottom (all columns) to the selection.
    static void select(QTableView *table, int top, int bottom);
    // The selected blocks as (top, bottom), in the order they were selected.
    static QList<QPair<int, int>> selectedBlocks(const QTableView *table);
};
