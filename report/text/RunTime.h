#pragma once

#include <ctime>
#include <string>

// Times of runs: kept in UTC as ISO 8601 ("2026-11-01T12:00:00Z"), which
// sorts as the times do, and shown to people in local time.
class RunTime {
public:
    static std::string Utc(std::time_t when);
    static std::string Now() { return Utc(std::time(nullptr)); }

    // The latest start a run may have to be SINCE ago from now: "30m",
    // "12h", "7d" (minutes, hours, days), or a date "2026-11-01", whose
    // local midnight it is. False for anything else.
    static bool ParseSince(const std::string& since, std::time_t now, std::string& latestUtc);

    // A UTC time as local time, "2026-11-01 13:00"; a text that is no such
    // time comes back as it is.
    static std::string Local(const std::string& utc);
};
