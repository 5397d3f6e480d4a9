#pragma once

#include <cstdint>
#include <map>
#include <string>

// What an earlier run saw of one mailbox, for its growth: when it ran, the
// total and each folder file's size. Kept by a state file or the history.
struct EarlierRun {
    std::string written;  // UTC, "2025-03-01T12:00:00Z"
    uint64_t total = 0;
    std::map<std::string, uint64_t> folders;  // UTF-8 file name to size
};
