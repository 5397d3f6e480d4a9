#pragma once

#include <cstdint>

// Bounds of the auto-refresh rate in seconds. A stored rate of 0 or less would
// make the worker post without sleeping; a rate above a day is no refresh the
// user could want, and its product with 1000 would not fit 32 bits.
constexpr int MinRefreshSeconds = 1;
constexpr int MaxRefreshSeconds = 86400;

// The worker's interval in milliseconds for a refresh rate in seconds as read
// from the settings: the rate bounded to MinRefreshSeconds..MaxRefreshSeconds.
std::uint32_t RefreshIntervalMs(int rateSeconds);
