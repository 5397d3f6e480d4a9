#include "panel/ColumnWidths.h"

#include <cstdint>

namespace ColumnWidths {

int AsTaken(int stored) { return static_cast<int16_t>(static_cast<uint32_t>(stored) & 0xFFFFu); }

bool ShowEveryColumn(const std::vector<int>& widths) {
    for (int width : widths)
        if (AsTaken(width) <= 0) return false;
    return true;
}

}  // namespace ColumnWidths
