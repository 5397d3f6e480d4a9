#include "refresh/RefreshInterval.h"

#include <gtest/gtest.h>

#include <climits>

TEST(RefreshInterval, RatesInRangeBecomeMilliseconds) {
    EXPECT_EQ(RefreshIntervalMs(1), 1000u);
    EXPECT_EQ(RefreshIntervalMs(10), 10000u);
    EXPECT_EQ(RefreshIntervalMs(86400), 86400000u);
}

TEST(RefreshInterval, RatesOutsideTheRangeAreBoundedWithoutOverflow) {
    EXPECT_EQ(RefreshIntervalMs(0), 1000u);
    EXPECT_EQ(RefreshIntervalMs(-5), 1000u);
    EXPECT_EQ(RefreshIntervalMs(INT_MIN), 1000u);
    EXPECT_EQ(RefreshIntervalMs(86401), 86400000u);
    // 4294968 * 1000 wraps to 704 in 32 bits.
    EXPECT_EQ(RefreshIntervalMs(4294968), 86400000u);
    EXPECT_EQ(RefreshIntervalMs(INT_MAX), 86400000u);
}
