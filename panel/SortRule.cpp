#include "panel/SortRule.h"

int SortRule::Compare(const void* first, const void* second, const std::vector<int>& displayOrder,
                      const ColumnCompare& compare) const {
    if (descending) {
        const void* swap = first;
        first = second;
        second = swap;
    }
    int result = compare(first, second, sortColumn);
    if (result != 0 || tieMode == NoTieBreak || displayOrder.empty()) return result;

    size_t n = displayOrder.size();
    size_t start = 0;
    if (tieMode == FromSortColumn) {
        for (size_t position = 0; position < n; ++position)
            if (displayOrder[position] == sortColumn) start = position;
    }
    size_t position = start;
    do {
        int column = displayOrder[position];
        if (column != sortColumn) result = compare(first, second, column);
        position = (position + 1) % n;
    } while (result == 0 && position != start);
    return result;
}

int SortRule::ClampColumn(int column, int columnCount) {
    if (column < 0 || columnCount <= 0) return 0;
    return column < columnCount ? column : columnCount - 1;
}

bool SortRule::IsArrangement(const std::vector<int>& order) {
    std::vector<bool> seen(order.size(), false);
    for (int column : order) {
        if (column < 0 || static_cast<size_t>(column) >= order.size() || seen[static_cast<size_t>(column)])
            return false;
        seen[static_cast<size_t>(column)] = true;
    }
    return true;
}
