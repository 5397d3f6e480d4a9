#pragma once

#include <cstddef>
#include <ctime>
#include <vector>

struct ReportOptions;

// Which recorded run a mailbox is compared with: the one rule for every
// comparison with the history, the report's growth as well as any limit set
// on growth. The runs to choose from are the mailbox's recorded runs before
// the one it is compared from: all of them for a run that scans now, all
// but its latest for a report from the history alone.
class ComparisonRule {
public:
    static constexpr size_t None = static_cast<size_t>(-1);

    struct Choice {
        size_t index = None;         // into the runs given; None when there are none
        bool beforeHistory = false;  // no run is as old as the moment: the earliest is used
    };

    // The previous run (--growth, and --from-history without --growth-since).
    static ComparisonRule Previous() { return ComparisonRule(); }
    // The run nearest to a moment (--growth-since).
    static ComparisonRule Since(std::time_t moment);
    // The rule the options ask for.
    static ComparisonRule Of(const ReportOptions& options);

    // starts: when the runs to choose from started, oldest first. The
    // previous run is the last; the run nearest to the moment is the earlier
    // of two as near. When none started at or before the moment, the nearest
    // is the earliest, and the choice says so.
    Choice Choose(const std::vector<std::time_t>& starts) const;

    bool SinceMoment() const { return sinceMoment; }
    std::time_t Moment() const { return moment; }

private:
    bool sinceMoment = false;
    std::time_t moment = 0;
};
