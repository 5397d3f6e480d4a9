#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

// --rename-mailbox: the runs a mailbox recorded under its old path joined to
// those of its new one, so that growth, first-seen dates and the timeline
// run across the rename. The folder rows stay lean: the new path's first
// run, which saw every folder as new, keeps only what changed against the
// old path's last, and says which folders went meanwhile.
class MailboxRename {
public:
    enum class Outcome {
        Joined,
        UnknownOld,  // the history has no run of the old path
        Overlap,     // the new path has runs from before the old path's last
        Nested,      // one path lies inside the other
        Failed,      // the database failed; it tells why
    };

    // Within a transaction of the caller's. newPath is the new mailbox's
    // canonical path as UTF-8, newKey its key.
    static Outcome Join(sqlite3* db, const std::string& oldKey, const std::string& newKey, const std::string& newPath);

private:
    static bool Rebase(sqlite3* db, int64_t oldId, int64_t newId, int64_t firstNewRun, int64_t lastOldRun);
};
