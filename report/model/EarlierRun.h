#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One folder as an earlier run saw it. A state file knows only its size; the
// history also its place in the folder tree.
struct EarlierFolder {
    uint64_t size = 0;
    bool described = false;   // folderPath and folderName are known
    bool readable = true;     // its name was read, not a status text
    std::string folderPath;   // UTF-8
    std::string folderName;
};

// A mailbox's total at one recorded run: a point of its line over time.
struct RecordedTotal {
    std::string started;  // UTC
    uint64_t total = 0;
};

// What an earlier run saw of one mailbox, for its growth: when it ran, the
// total and each folder file. Kept by a state file or the history.
struct EarlierRun {
    std::string written;  // UTC, "2025-03-01T12:00:00Z"
    uint64_t total = 0;
    std::map<std::string, EarlierFolder> folders;  // by UTF-8 file name
    // From the history: the folders that came after this run and are still
    // there, each with the first run that had it (UTC).
    std::map<std::string, std::string> firstSeen;
    // No run is as old as the moment asked for: this is the earliest.
    bool beforeHistory = false;
    // The mailbox's total at this run and each recorded one after it.
    std::vector<RecordedTotal> series;
};
