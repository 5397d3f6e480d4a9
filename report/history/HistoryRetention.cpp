#include "report/history/HistoryRetention.h"

#include "report/history/Statement.h"

#include <cstdint>
#include <map>

namespace HistoryRetention {
namespace {

// The rows a mailbox's state at its earliest kept run (?2) rests on: every
// folder's last row up to it, unless that says the folder is gone. The
// rest before it goes, and what stays moves to that run.
const char* const Fold[] = {
    "DELETE FROM folder_change WHERE mailbox_id = ?1 AND run_id < ?2 AND EXISTS (SELECT 1 FROM folder_change AS later"
    " WHERE later.mailbox_id = ?1 AND later.file_name = folder_change.file_name"
    " AND later.run_id > folder_change.run_id AND later.run_id <= ?2)",
    "DELETE FROM folder_change WHERE mailbox_id = ?1 AND run_id < ?2 AND size IS NULL",
    "UPDATE folder_change SET run_id = ?2 WHERE mailbox_id = ?1 AND run_id < ?2",
    "DELETE FROM mailbox_run WHERE mailbox_id = ?1 AND run_id < ?2",
};

// Each mailbox's earliest run to keep (by id, the order its rows rest on
// each other in): the first of those that started at or after the cutoff,
// else its latest.
bool FirstKept(sqlite3* db, const std::string& cutoff, std::map<int64_t, int64_t>& first) {
    Statement runs(db, "SELECT mr.mailbox_id, r.id, r.started FROM mailbox_run mr JOIN runs r ON r.id = mr.run_id"
                       " ORDER BY mr.mailbox_id, r.started, r.id");
    if (!runs.Ok()) return false;
    std::map<int64_t, int64_t> kept, latest;
    int code;
    while ((code = runs.Step()) == SQLITE_ROW) {
        const int64_t mailbox = static_cast<int64_t>(runs.ColumnNumber(0)), run = static_cast<int64_t>(runs.ColumnNumber(1));
        latest[mailbox] = run;
        if (runs.ColumnText(2) < cutoff) continue;
        auto [at, fresh] = kept.emplace(mailbox, run);
        if (!fresh && run < at->second) at->second = run;
    }
    if (code != SQLITE_DONE) return false;
    for (const auto& [mailbox, run] : latest) {
        auto found = kept.find(mailbox);
        first[mailbox] = found == kept.end() ? run : found->second;
    }
    return true;
}

}  // namespace

bool Keep(sqlite3* db, const std::string& cutoff) {
    std::map<int64_t, int64_t> first;
    if (!FirstKept(db, cutoff, first)) return false;
    for (const char* sql : Fold) {
        Statement fold(db, sql);
        if (!fold.Ok()) return false;
        for (const auto& [mailbox, run] : first)
            if (!fold.Number(1, static_cast<uint64_t>(mailbox)).Number(2, static_cast<uint64_t>(run)).Run()) return false;
    }
    return sqlite3_exec(db, "DELETE FROM runs WHERE id NOT IN (SELECT run_id FROM mailbox_run); PRAGMA incremental_vacuum",
                        nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace HistoryRetention
