#pragma once

#include "report/model/MailboxPlace.h"

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

// Which mailboxes a run found where it looked, and which it no longer
// found there: gone ones, and new ones that are likely gone ones renamed.
// Within the transaction that appends the run; false on an error, which
// the database tells.
class MailboxPresence {
public:
    // Marks gone, since started, every mailbox that one of the run's scopes
    // had found and the run did not (found: the ids of those it found, read
    // or not); one found is not gone. goneNow: those gone from this run on.
    static bool MarkGone(sqlite3* db, const std::string& started, const std::vector<MailboxScope>& scopes,
                         const std::set<int64_t>& found, std::vector<int64_t>& goneNow);
    // Of the mailboxes fresh to the history and those goneNow, the pairs
    // whose folder files are nine in ten the same, by their paths (gone,
    // fresh).
    static bool LikelyRenames(sqlite3* db, const std::vector<int64_t>& fresh, const std::vector<int64_t>& goneNow,
                              std::vector<std::pair<std::string, std::string>>& renames);
};
