#pragma once

#include <cstdint>
#include <optional>

// What --monitor measures against: a value above a threshold, in bytes, is a
// warning or critical. A threshold not given is never crossed.
struct Thresholds {
    std::optional<uint64_t> warnTotal, critTotal;    // a mailbox's total
    std::optional<uint64_t> warnFolder, critFolder;  // one folder file
    // A mailbox's growth since the run of the history it is compared with.
    std::optional<uint64_t> warnGrowth, critGrowth;

    bool AnyGrowth() const { return warnGrowth || critGrowth; }
};
