#include "store/SortRule.h"

size_t SortRule::TieBreakStart(const std::vector<int>& displayOrder) const {
    size_t start = 0;
    if (tieMode == FromSortColumn) {
        for (size_t position = 0; position < displayOrder.size(); ++position)
            if (displayOrder[position] == sortColumn) start = position;
    }
    return start;
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
