#pragma once

#include "report/model/HistoryListing.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct sqlite3;

// What changed in the history from a moment on, across its mailboxes: the
// folders that came, went or moved (the rows FolderChanges wrote, each
// against the row before it), the mailboxes that came, went or were
// renamed. A mailbox's first run is its coming, not that of each of its
// folders; a folder whose size alone changed is growth, not a change.
class ChangeLog {
public:
    // The changes of runs that started at or after since (UTC), oldest
    // first, of the mailboxes with these ids (all where none are given).
    // False on an error, which the database tells.
    static bool Read(sqlite3* db, const std::string& since, const std::set<int64_t>& mailboxes,
                     std::vector<HistoryChange>& changes);

private:
    static bool ReadFolders(sqlite3* db, const std::string& since, const std::set<int64_t>& mailboxes,
                            std::vector<HistoryChange>& changes);
    static bool ReadMailboxes(sqlite3* db, const std::string& since, const std::set<int64_t>& mailboxes,
                              std::vector<HistoryChange>& changes);
};
