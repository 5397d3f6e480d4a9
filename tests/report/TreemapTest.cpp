#include "report/page/Treemap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using Treemap::Rect;

namespace {

bool Overlap(const Rect& a, const Rect& b) {
    const double e = 1e-6;
    return a.x + e < b.x + b.width && b.x + e < a.x + a.width && a.y + e < b.y + b.height && b.y + e < a.y + a.height;
}

}  // namespace

TEST(Treemap, AreasAreInProportionToTheValuesAndFillTheRectangleWithoutOverlap) {
    std::mt19937 random(7);
    const Rect area{10, 20, 960, 540};
    for (int round = 0; round < 200; ++round) {
        std::vector<double> values(1 + random() % 40);
        double total = 0;
        for (double& v : values) {
            v = random() % 5 == 0 ? 0 : static_cast<double>(1 + random() % (round % 2 ? 1000000000 : 1000));
            total += v;
        }
        std::vector<Rect> rects = Treemap::Squarify(values, area);
        ASSERT_EQ(rects.size(), values.size());
        double covered = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            const Rect& r = rects[i];
            covered += r.Area();
            double expected = total > 0 ? values[i] / total * area.Area() : 0;
            ASSERT_NEAR(r.Area(), expected, 1e-6 * area.Area()) << round << " " << i;
            if (values[i] <= 0) continue;
            EXPECT_GE(r.x, area.x - 1e-6);
            EXPECT_GE(r.y, area.y - 1e-6);
            EXPECT_LE(r.x + r.width, area.x + area.width + 1e-6);
            EXPECT_LE(r.y + r.height, area.y + area.height + 1e-6);
            for (size_t k = 0; k < i; ++k) {
                if (values[k] > 0) {
                    ASSERT_FALSE(Overlap(r, rects[k])) << round << " " << i << " " << k;
                }
            }
        }
        if (total > 0) {
            EXPECT_NEAR(covered, area.Area(), 1e-6 * area.Area());
        }
    }
}

TEST(Treemap, SquarifiedRectanglesStayCloseToSquares) {
    // Six equal values in a 3:2 area come out as six squares.
    std::vector<Rect> rects = Treemap::Squarify(std::vector<double>(6, 1.0), Rect{0, 0, 300, 200});
    for (const Rect& r : rects) {
        EXPECT_NEAR(r.width, 100, 1e-9);
        EXPECT_NEAR(r.height, 100, 1e-9);
    }
    EXPECT_TRUE(Treemap::Squarify({}, Rect{0, 0, 10, 10}).empty());
    EXPECT_EQ(Treemap::Squarify({0, 0}, Rect{0, 0, 10, 10})[1].Area(), 0);
}
