#include "report/text/RunTime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool Digits(const std::string& text, size_t from, size_t count, int& value) {
    if (from + count > text.size()) return false;
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

constexpr long Day = 86400;

// Up to 99999 units and the unit's letter, in seconds; secondsOf gives 0 for
// a letter it does not take. Where a time has 32 bits (the Windows program),
// a span beyond them is as long as it can be, which reaches back before any
// run: 99999 weeks would not fit.
bool ParseUnits(const std::string& span, std::time_t& seconds, long (*secondsOf)(char unit)) {
    if (span.size() < 2 || span.size() > 6) return false;
    int count;
    if (!Digits(span, 0, span.size() - 1, count)) return false;
    const long unit = secondsOf(span.back());
    if (unit == 0) return false;
    const int64_t whole = static_cast<int64_t>(count) * unit;
    const int64_t longest = std::numeric_limits<std::time_t>::max();
    seconds = static_cast<std::time_t>(whole < longest ? whole : longest);
    return true;
}

std::tm UtcParts(std::time_t when) {
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &when);
#else
    gmtime_r(&when, &parts);
#endif
    return parts;
}

std::time_t FromUtcParts(std::tm& parts) {
#ifdef _WIN32
    return _mkgmtime(&parts);
#else
    return timegm(&parts);
#endif
}

}  // namespace

std::string RunTime::Utc(std::time_t when) {
    std::tm parts = UtcParts(when);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::time_t RunTime::Clock() {
    std::time_t when;
    const char* test = std::getenv(TestClock);
    if (test && ParseUtc(test, when)) return when;
    return std::time(nullptr);
}

bool RunTime::ParseUtc(const std::string& utc, std::time_t& when) {
    int year, month, day, hour, minute, second;
    if (utc.size() != 20 || utc[4] != '-' || utc[7] != '-' || utc[10] != 'T' || utc[13] != ':' || utc[16] != ':' ||
        utc[19] != 'Z' || !Digits(utc, 0, 4, year) || !Digits(utc, 5, 2, month) || !Digits(utc, 8, 2, day) ||
        !Digits(utc, 11, 2, hour) || !Digits(utc, 14, 2, minute) || !Digits(utc, 17, 2, second))
        return false;
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    when = FromUtcParts(parts);
    return when != static_cast<std::time_t>(-1);
}

bool RunTime::ParseSpan(const std::string& span, std::time_t& seconds) {
    return ParseUnits(span, seconds, [](char unit) -> long {
        switch (unit) {
        case 'm': return 60;
        case 'h': return 3600;
        case 'd': return Day;
        case 'w': return 7 * Day;
        default: return 0;
        }
    });
}

bool RunTime::ParseRetention(const std::string& span, std::time_t& seconds) {
    return ParseUnits(span, seconds, [](char unit) -> long {
        switch (unit) {
        case 'd': return Day;
        case 'w': return 7 * Day;
        case 'y': return 365 * Day;
        default: return 0;
        }
    });
}

bool RunTime::ParseSince(const std::string& since, std::time_t now, std::time_t& moment) {
    int year, month, day;
    const bool iso = since.size() == 10 && since[4] == '-' && since[7] == '-' && Digits(since, 0, 4, year) &&
                     Digits(since, 5, 2, month) && Digits(since, 8, 2, day);
    const bool german = since.size() == 10 && since[2] == '.' && since[5] == '.' && Digits(since, 6, 4, year) &&
                        Digits(since, 3, 2, month) && Digits(since, 0, 2, day);
    if (iso || german) {
        std::tm parts{};
        parts.tm_year = year - 1900;
        parts.tm_mon = month - 1;
        parts.tm_mday = day;
        parts.tm_isdst = -1;
        std::time_t midnight = std::mktime(&parts);
        // mktime moves the 31st of a short month on; such a date is no date.
        if (midnight == static_cast<std::time_t>(-1) || parts.tm_mday != day || parts.tm_mon != month - 1) return false;
        moment = midnight;
        return true;
    }
    std::time_t span;
    if (!ParseSpan(since, span)) return false;
    moment = now - span;
    return true;
}

std::string RunTime::Local(const std::string& utc) {
    std::time_t when;
    if (!ParseUtc(utc, when)) return utc;
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &when) != 0) return utc;
#else
    if (!localtime_r(&when, &local)) return utc;
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}
