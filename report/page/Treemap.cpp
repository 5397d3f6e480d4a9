#include "report/page/Treemap.h"

#include <algorithm>
#include <numeric>

namespace Treemap {
namespace {

// How far from square the worst rectangle of a row of this sum, largest and
// smallest area would be, laid along a side of this length.
double Worst(double sum, double largest, double smallest, double side) {
    double side2 = side * side, sum2 = sum * sum;
    return std::max(side2 * largest / sum2, sum2 / (side2 * smallest));
}

// Lays a row of areas along the shorter side of free and takes its strip
// off free. The last row takes what is left, so that rounding leaves no gap.
void LayRow(const std::vector<size_t>& row, const std::vector<double>& areas, double sum, bool last, Rect& free,
            std::vector<Rect>& out) {
    const bool alongHeight = free.width >= free.height;  // a vertical strip at the left
    const double side = alongHeight ? free.height : free.width;
    double thickness = side > 0 ? sum / side : 0;
    if (last) thickness = alongHeight ? free.width : free.height;
    double offset = 0;
    for (size_t k = 0; k < row.size(); ++k) {
        double length = k + 1 == row.size() ? side - offset : (sum > 0 ? side * areas[row[k]] / sum : 0);
        Rect& r = out[row[k]];
        if (alongHeight)
            r = Rect{free.x, free.y + offset, thickness, length};
        else
            r = Rect{free.x + offset, free.y, length, thickness};
        offset += length;
    }
    if (alongHeight) {
        free.x += thickness;
        free.width = std::max(0.0, free.width - thickness);
    } else {
        free.y += thickness;
        free.height = std::max(0.0, free.height - thickness);
    }
}

}  // namespace

std::vector<Rect> Squarify(const std::vector<double>& values, const Rect& area) {
    std::vector<Rect> out(values.size(), Rect{area.x, area.y, 0, 0});
    std::vector<size_t> order;
    double total = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] > 0) {
            order.push_back(i);
            total += values[i];
        }
    }
    if (order.empty() || area.Area() <= 0) return out;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] > values[b]; });

    std::vector<double> areas(values.size(), 0);
    for (size_t i : order) areas[i] = values[i] / total * area.Area();

    Rect free = area;
    std::vector<size_t> row;
    for (size_t next = 0; next < order.size();) {
        const double side = std::min(free.width, free.height);
        row.assign(1, order[next]);
        double sum = areas[order[next]];
        double worst = Worst(sum, sum, sum, side);
        ++next;
        // Values are sorted, so the row's largest is its first and its
        // smallest its last.
        while (next < order.size()) {
            double candidate = Worst(sum + areas[order[next]], areas[row.front()], areas[order[next]], side);
            if (candidate > worst) break;
            worst = candidate;
            sum += areas[order[next]];
            row.push_back(order[next++]);
        }
        LayRow(row, areas, sum, next == order.size(), free, out);
    }
    return out;
}

}  // namespace Treemap
