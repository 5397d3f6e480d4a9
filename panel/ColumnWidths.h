#pragma once

#include <vector>

// How stored column widths reach the list view: only the low 16 bits of a
// width are handed to the control, which reads them as a signed number.
// Plain functions, so that the rule is tested without a window.
namespace ColumnWidths {

// The width the control takes for a stored one (65536 becomes 0).
int AsTaken(int stored);

// True when every width, as the control takes it, leaves its column visible.
// A list that would hide a column is dropped as a whole: the user could not
// get the column back without editing the settings file.
bool ShowEveryColumn(const std::vector<int>& widths);

}  // namespace ColumnWidths
