#pragma once

#include <vector>

// The layout of a treemap: rectangles whose areas are in proportion to
// values, as close to squares as the squarified method gets them.
namespace Treemap {

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
    double Area() const { return width * height; }
};

// Divides area among the values, each rectangle's area in proportion to its
// value, together filling area. A value of 0 (or less) gets an empty
// rectangle at area's corner. The result is in the order of values.
std::vector<Rect> Squarify(const std::vector<double>& values, const Rect& area);

}  // namespace Treemap
