#include "report/history/MailboxRename.h"

#include "report/history/Statement.h"

namespace {

// The mailbox with this key, with its first and last run by start (ids);
// false when it has no run.
bool RunsOf(sqlite3* db, const std::string& key, int64_t& id, int64_t& first, int64_t& last, std::string& firstStart,
            std::string& lastStart) {
    Statement runs(db, "SELECT m.id, r.id, r.started FROM mailbox m JOIN mailbox_run mr ON mr.mailbox_id = m.id"
                       " JOIN runs r ON r.id = mr.run_id WHERE m.key = ?1 ORDER BY r.started, r.id");
    if (!runs.Ok()) return false;
    runs.Text(1, key);
    bool any = false;
    while (runs.Step() == SQLITE_ROW) {  // to the end: no statement stays running
        id = static_cast<int64_t>(runs.ColumnNumber(0));
        last = static_cast<int64_t>(runs.ColumnNumber(1));
        lastStart = runs.ColumnText(2);
        if (!any) {
            first = last;
            firstStart = lastStart;
        }
        any = true;
    }
    return any;
}

// Whether one key lies inside the other: a path and one below it.
bool Inside(const std::string& outer, const std::string& inner) {
    return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
           (inner[outer.size()] == '/' || inner[outer.size()] == '\\' || outer.back() == '/' || outer.back() == '\\');
}

}  // namespace

MailboxRename::Outcome MailboxRename::Join(sqlite3* db, const std::string& oldKey, const std::string& newKey,
                                           const std::string& newPath) {
    if (oldKey == newKey || Inside(oldKey, newKey) || Inside(newKey, oldKey)) return Outcome::Nested;
    int64_t oldId = 0, oldFirst = 0, oldLast = 0, newId = 0, newFirst = 0, newLast = 0;
    std::string oldFirstStart, oldLastStart, newFirstStart, newLastStart;
    if (!RunsOf(db, oldKey, oldId, oldFirst, oldLast, oldFirstStart, oldLastStart)) return Outcome::UnknownOld;
    const bool newHasRuns = RunsOf(db, newKey, newId, newFirst, newLast, newFirstStart, newLastStart);
    if (newHasRuns && newFirstStart <= oldLastStart) return Outcome::Overlap;

    // A statement still running would keep the table Rebase drops locked.
    Statement rename(db, "INSERT INTO mailbox_rename(mailbox_id, old_path, until)"
                         " SELECT id, path, ?2 FROM mailbox WHERE id = ?1");
    if (!rename.Ok() || !rename.Number(1, static_cast<uint64_t>(oldId)).Text(2, oldLastStart).Run())
        return Outcome::Failed;
    if (newHasRuns && !Rebase(db, oldId, newId, newFirst, oldLast)) return Outcome::Failed;
    // The old mailbox takes the new one's key and path; the new one's row,
    // where there was one, goes.
    Statement drop(db, "DELETE FROM mailbox WHERE key = ?1 AND id <> ?2");
    Statement take(db, "UPDATE mailbox SET key = ?1, path = ?2 WHERE id = ?3");
    if (!drop.Ok() || !take.Ok() || !drop.Text(1, newKey).Number(2, static_cast<uint64_t>(oldId)).Run() ||
        !take.Text(1, newKey).Text(2, newPath).Number(3, static_cast<uint64_t>(oldId)).Run())
        return Outcome::Failed;
    return Outcome::Joined;
}

// The new mailbox's rows move to the old one's id. Its first run wrote every
// folder it had: a file the old path had that the first run did not see
// gets a row that says it went, and then a row equal to the old path's last
// row for its file says nothing and goes.
bool MailboxRename::Rebase(sqlite3* db, int64_t oldId, int64_t newId, int64_t firstNewRun, int64_t lastOldRun) {
    const char* const Steps[] = {
        // The old path's state at its last run, each file's last row.
        "CREATE TEMP TABLE renamed_last AS SELECT * FROM folder_change c WHERE mailbox_id = ?1 AND run_id ="
        " (SELECT max(run_id) FROM folder_change q WHERE q.mailbox_id = ?1 AND q.file_name = c.file_name"
        " AND q.run_id <= ?4) AND size IS NOT NULL",
        "INSERT INTO folder_change(mailbox_id, file_name, run_id, size, kind, status, hierarchy_key, folder_path,"
        " folder_name) SELECT ?2, file_name, ?3, NULL, '', '', '', '', '' FROM renamed_last l WHERE NOT EXISTS"
        " (SELECT 1 FROM folder_change c WHERE c.mailbox_id = ?2 AND c.file_name = l.file_name AND c.run_id = ?3)",
        "DELETE FROM folder_change WHERE mailbox_id = ?2 AND run_id = ?3 AND EXISTS (SELECT 1 FROM renamed_last l"
        " WHERE l.file_name = folder_change.file_name AND l.size = folder_change.size AND l.kind = folder_change.kind"
        " AND l.status = folder_change.status AND l.hierarchy_key = folder_change.hierarchy_key"
        " AND l.folder_path = folder_change.folder_path AND l.folder_name = folder_change.folder_name)",
        "DROP TABLE temp.renamed_last",
        "UPDATE folder_change SET mailbox_id = ?1 WHERE mailbox_id = ?2",
        "UPDATE mailbox_run SET mailbox_id = ?1 WHERE mailbox_id = ?2",
        "INSERT OR IGNORE INTO mailbox_scope(scope, mailbox_id) SELECT scope, ?1 FROM mailbox_scope WHERE mailbox_id = ?2",
        "DELETE FROM mailbox_scope WHERE mailbox_id = ?2",
        "UPDATE mailbox_rename SET mailbox_id = ?1 WHERE mailbox_id = ?2",
        "DELETE FROM mailbox_gone WHERE mailbox_id IN (?1, ?2)",
    };
    for (const char* sql : Steps) {
        Statement step(db, sql);
        if (!step.Ok()) return false;
        // Binding a number a statement does not use changes nothing.
        step.Number(1, static_cast<uint64_t>(oldId)).Number(2, static_cast<uint64_t>(newId));
        step.Number(3, static_cast<uint64_t>(firstNewRun)).Number(4, static_cast<uint64_t>(lastOldRun));
        if (!step.Run()) return false;
    }
    return true;
}
