#pragma once

#include <QTableWidgetSelectionRange>

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
    explicit RowRange(const QTableWidgetSelectionRange &range)
        : top(range.topRow()), left(range.leftColumn()), right(range.rightColumn()),
          bottom(range.bottomRow()) {}

    int rowCount() const { return bottom - top + 1; }
    bool operator<(const RowRange &other) const { return top < other.top; }
};
