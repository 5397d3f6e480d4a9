#pragma once

#include <functional>
#include <vector>

// The order of a sortable list: a sort column, a direction, and how ties
// by the sort column are broken.
struct SortRule {
    enum TieMode { NoTieBreak = 0, FromLeftmost = 1, FromSortColumn = 2 };

    int sortColumn = 0;
    int descending = 0;
    int tieMode = NoTieBreak;

    // compare(first, second, column) compares two items by one column.
    using ColumnCompare = std::function<int(const void*, const void*, int)>;

    // Compares two items: by the sort column, then, while they are equal, by
    // the other columns in display order (the column index at each position),
    // each in the same direction as the sort column.
    int Compare(const void* first, const void* second, const std::vector<int>& displayOrder,
                const ColumnCompare& compare) const;

    // Clamps a stored sort column into 0 .. columnCount - 1.
    static int ClampColumn(int column, int columnCount);

    // True when order holds each of 0 .. n-1 exactly once.
    static bool IsArrangement(const std::vector<int>& order);
};
