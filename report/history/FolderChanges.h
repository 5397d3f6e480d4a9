#pragma once

#include "report/history/RecordedFolder.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;

// The folders of the history. A folder's row is written only when it
// differs from that folder's previous row, and a row without a size says
// that the folder is gone: a run costs what changed. A mailbox's folders at
// one of its runs are each folder's latest row up to that run, unless it
// says gone. Rows follow each other in the order runs were appended (their
// ids), which is the order they were compared in.
class FolderChanges {
public:
    explicit FolderChanges(sqlite3* db) : db(db) {}

    // Records the mailbox's folders at a run appended after all its others:
    // a row for each folder new or changed since its latest run, one for
    // each gone. A second folder of the same file name is left out. False
    // on an error, which the database tells.
    bool Write(int64_t mailboxId, int64_t runId, const std::vector<RecordedFolder>& folders);
    // The mailbox's folders as the last Write left them are not needed
    // again: one run writes each mailbox once.
    void Forget(int64_t mailboxId) { latestOf.erase(mailboxId); }

    // A folder at a run, with the first run of its current stay.
    struct Present {
        RecordedFolder folder;
        int64_t since = 0;
    };
    // The mailbox's folders at two of its runs, earlierRun no later than
    // latestRun (0 for none). Either list may be left out.
    bool Read(int64_t mailboxId, int64_t earlierRun, int64_t latestRun, std::vector<Present>* atEarlier,
              std::vector<Present>* atLatest);

private:
    // The folders each mailbox had at its latest run, read once for all
    // runs this writer appends.
    using Latest = std::unordered_map<std::string, RecordedFolder>;
    bool LoadLatest(int64_t mailboxId, Latest& latest);

    sqlite3* db;
    std::map<int64_t, Latest> latestOf;
};
