#pragma once

#include <string>
#include <vector>

// How stored column widths reach the list view: only the low 16 bits of a
// width are handed to the control, which reads them as a signed number.
// Widths are pixels of the screen they were measured on; the settings keep
// that screen's resolution beside them, so that a column keeps its physical
// size on a screen of another. Plain functions, so that the rules are tested
// without a window.
namespace ColumnWidths {

// The width the control takes for a stored one (65536 becomes 0).
int AsTaken(int stored);

// True when every width, as the control takes it, leaves its column visible.
// A list that would hide a column is dropped as a whole: the user could not
// get the column back without editing the settings file.
bool ShowEveryColumn(const std::vector<int>& widths);

// The widest column the control takes.
constexpr int MaxWidth = 32767;

// A resolution in dots per inch that a screen can have: 1 to 1,000.
bool IsDpi(int dpi);

// The resolution stored beside the widths: decimal digits, blanks around
// them allowed, naming a resolution IsDpi accepts. Anything else (nothing,
// 0, a sign, an absurd value, letters) gives 0: the widths are then taken as
// measured on the current screen.
int ParseDpi(const std::string& text);

// A width measured at fromDpi, for a screen of toDpi: in proportion,
// rounded, and bounded so that the column neither vanishes nor grows past
// MaxWidth. Between equal resolutions (or where one is no resolution) the
// width is left exactly as it is.
int Rescale(int width, int fromDpi, int toDpi);
void Rescale(std::vector<int>& widths, int fromDpi, int toDpi);

}  // namespace ColumnWidths
