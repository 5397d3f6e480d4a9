#include "panel/ColumnWidths.h"

#include <cstdint>

namespace ColumnWidths {

namespace {

constexpr int MaxDpi = 1000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

int AsTaken(int stored) { return static_cast<int16_t>(static_cast<uint32_t>(stored) & 0xFFFFu); }

bool ShowEveryColumn(const std::vector<int>& widths) {
    for (int width : widths)
        if (AsTaken(width) <= 0) return false;
    return true;
}

bool IsDpi(int dpi) { return dpi >= 1 && dpi <= MaxDpi; }

int ParseDpi(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    // Five digits are more than any resolution has, and cannot overflow.
    if (begin == end || end - begin > 5) return 0;
    int dpi = 0;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        dpi = dpi * 10 + (text[i] - '0');
    }
    return IsDpi(dpi) ? dpi : 0;
}

int Rescale(int width, int fromDpi, int toDpi) {
    if (fromDpi == toDpi || !IsDpi(fromDpi) || !IsDpi(toDpi)) return width;
    int64_t taken = AsTaken(width);
    // Rounded half away from zero, as MulDiv rounds.
    int64_t scaled = (2 * taken * toDpi + fromDpi) / (2 * fromDpi);
    if (scaled < 1) return 1;
    return scaled > MaxWidth ? MaxWidth : static_cast<int>(scaled);
}

void Rescale(std::vector<int>& widths, int fromDpi, int toDpi) {
    for (int& width : widths) width = Rescale(width, fromDpi, toDpi);
}

}  // namespace ColumnWidths
