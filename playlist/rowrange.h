#pragma once

#include <QItemSelection>
#include <QList>

// One selected block of table rows. Ranges are ordered by their first row alone.
struct RowRange
{
    int top = 0;
    int left = 0;
    int right = 0;
    int bottom = 0;

    RowRange() = default;
    RowRange(int top, int left, int right, int bottom)
        : top(top), left(left), right(right), bottom(bottom) {}
    explicit RowRange(const QItemSelectionRange &range)
        : top(range.top()), left(range.left()), right(range.right()), bottom(range.bottom()) {}

    // The blocks of a selection, in the order they were selected.
    static QList<RowRange> of(const QItemSelection &selection)
    {
        QList<RowRange> ranges;
        for (const QItemSelectionRange &range : selection)
            ranges << RowRange(range);
        return ranges;
    }

    int rowCount() const { return bottom - top + 1; }
    bool operator<(const RowRange &other) const { return top < other.top; }
};
