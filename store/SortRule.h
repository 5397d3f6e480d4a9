#pragma once

#include "store/FolderCompare.h"

#include <cstddef>
#include <utility>
#include <vector>

// The order of a sortable list: a sort column, a direction, and how ties
// by the sort column are broken.
struct SortRule {
    enum TieMode { NoTieBreak = 0, FromLeftmost = 1, FromSortColumn = 2 };

    int sortColumn = 0;
    int descending = 0;
    int tieMode = NoTieBreak;

    // Compares two items: by the sort column, then, while they are equal, by
    // the other columns in display order (the column index at each position),
    // each in the same direction as the sort column. compare(first, second,
    // column) compares two items by one column; it is a template parameter
    // because this runs for every comparison of a sort.
    template <class Item, class ColumnCompare>
    int Compare(const Item& first, const Item& second, const std::vector<int>& displayOrder,
                const ColumnCompare& compare) const;
    // Two folder records by the folder list's columns.
    int Compare(const FolderInfo& first, const FolderInfo& second, const std::vector<int>& displayOrder) const;

    // Where the tie-break walk starts in the display order.
    size_t TieBreakStart(const std::vector<int>& displayOrder) const;

    // Clamps a stored sort column into 0 .. columnCount - 1.
    static int ClampColumn(int column, int columnCount);

    // True when order holds each of 0 .. n-1 exactly once.
    static bool IsArrangement(const std::vector<int>& order);
};

template <class Item, class ColumnCompare>
int SortRule::Compare(const Item& one, const Item& other, const std::vector<int>& displayOrder,
                      const ColumnCompare& compare) const {
    const Item* first = &one;
    const Item* second = &other;
    if (descending) std::swap(first, second);
    int result = compare(*first, *second, sortColumn);
    if (result != 0 || tieMode == NoTieBreak || displayOrder.empty()) return result;

    size_t n = displayOrder.size();
    size_t start = TieBreakStart(displayOrder);
    size_t position = start;
    do {
        int column = displayOrder[position];
        if (column != sortColumn) result = compare(*first, *second, column);
        position = (position + 1) % n;
    } while (result == 0 && position != start);
    return result;
}

inline int SortRule::Compare(const FolderInfo& first, const FolderInfo& second,
                             const std::vector<int>& displayOrder) const {
    return Compare(first, second, displayOrder, [](const FolderInfo& a, const FolderInfo& b, int column) {
        return FolderCompare::CompareColumn(a, b, column);
    });
}
