#pragma once

#include <string>

struct sqlite3;

// --keep: the runs that started before a cutoff go, but never a mailbox's
// latest. A mailbox's folders at its earliest run kept stay what they were:
// the rows that run's state rests on move to it, the rest goes with the
// runs. Run inside the transaction that appended the latest run.
namespace HistoryRetention {

// cutoff in UTC. False on an error, which the database tells.
bool Keep(sqlite3* db, const std::string& cutoff);

}  // namespace HistoryRetention
