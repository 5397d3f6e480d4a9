#pragma once

#include <ctime>
#include <string>

// Times of runs: kept in UTC as ISO 8601 ("2026-11-01T12:00:00Z"), which
// sorts as the times do, and shown to people in local time.
class RunTime {
public:
    // The environment variable that sets the clock, for tests only: a UTC
    // time as Utc writes it. Unset, or not such a time, the system's clock.
    static constexpr const char* TestClock = "FOLDSCAN_TEST_NOW";

    // The current time: the system's, or the test clock's.
    static std::time_t Clock();
    static std::string Utc(std::time_t when);
    static std::string Now() { return Utc(Clock()); }

    // A time as Utc writes it; false for any other text.
    static bool ParseUtc(const std::string& utc, std::time_t& when);

    // The moment SINCE names from now: a span back, "30m", "12h", "7d",
    // "2w" (minutes, hours, days, weeks), or a date "2026-11-01" or
    // "01.11.2026", whose local midnight it is. False for anything else.
    static bool ParseSince(const std::string& since, std::time_t now, std::time_t& moment);
    // A span "30m", "12h", "7d" or "2w" in seconds; false for anything else.
    static bool ParseSpan(const std::string& span, std::time_t& seconds);
    // How long runs are kept: "90d", "52w" or "1y" (a year of 365 days) in
    // seconds; false for anything else, minutes and hours too: "12m" is too
    // easily meant as twelve months.
    static bool ParseRetention(const std::string& span, std::time_t& seconds);

    // A UTC time as local time, "2026-11-01 13:00"; a text that is no such
    // time comes back as it is.
    static std::string Local(const std::string& utc);
    // Its local date alone, "2026-11-01".
    static std::string LocalDate(const std::string& utc) { return Local(utc).substr(0, 10); }
};
