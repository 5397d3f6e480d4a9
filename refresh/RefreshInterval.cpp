#include "refresh/RefreshInterval.h"

std::uint32_t RefreshIntervalMs(int rateSeconds) {
    // Bounded before the product, which then stays below 2^27.
    int seconds = rateSeconds < MinRefreshSeconds   ? MinRefreshSeconds
                  : rateSeconds > MaxRefreshSeconds ? MaxRefreshSeconds
                                                    : rateSeconds;
    return static_cast<std::uint32_t>(seconds) * 1000u;
}
