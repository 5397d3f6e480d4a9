#include "report/history/ChangeLog.h"

#include "report/history/Statement.h"

#include <algorithm>
#include <tuple>

const char* HistoryChange::Name(Kind kind) {
    switch (kind) {
    case Kind::New: return "new";
    case Kind::Removed: return "removed";
    case Kind::Moved: return "moved";
    case Kind::MailboxNew: return "mailbox-new";
    case Kind::MailboxGone: return "mailbox-gone";
    case Kind::MailboxRenamed: return "mailbox-renamed";
    }
    return "";
}

namespace {

// Each folder row of a run in the window with the row before it for the
// same file, found through the primary key; and the mailbox's first run.
const char* const FolderRows = R"(
    SELECT c.mailbox_id, m.path, r.started, c.run_id, c.file_name, c.size, c.status, c.folder_path, c.folder_name,
           p.run_id, p.size, p.status, p.folder_path, p.folder_name,
           (SELECT min(mr.run_id) FROM mailbox_run mr WHERE mr.mailbox_id = c.mailbox_id)
    FROM runs r
    JOIN folder_change c ON c.run_id = r.id
    JOIN mailbox m ON m.id = c.mailbox_id
    LEFT JOIN folder_change p ON p.mailbox_id = c.mailbox_id AND p.file_name = c.file_name
        AND p.run_id = (SELECT max(q.run_id) FROM folder_change q
                        WHERE q.mailbox_id = c.mailbox_id AND q.file_name = c.file_name AND q.run_id < c.run_id)
    WHERE r.started >= ?1)";

// Each mailbox's first run with its total, its latest run's total, and
// when it went.
const char* const Mailboxes = R"(
    SELECT m.id, m.path, fr.started, f.total, l.total, g.since
    FROM mailbox m
    JOIN mailbox_run f ON f.mailbox_id = m.id AND f.run_id =
        (SELECT mr.run_id FROM mailbox_run mr JOIN runs r ON r.id = mr.run_id
         WHERE mr.mailbox_id = m.id ORDER BY r.started, r.id LIMIT 1)
    JOIN runs fr ON fr.id = f.run_id
    JOIN mailbox_run l ON l.mailbox_id = m.id AND l.run_id =
        (SELECT mr.run_id FROM mailbox_run mr JOIN runs r ON r.id = mr.run_id
         WHERE mr.mailbox_id = m.id ORDER BY r.started DESC, r.id DESC LIMIT 1)
    LEFT JOIN mailbox_gone g ON g.mailbox_id = m.id)";

const char* const Renames = R"(
    SELECT n.mailbox_id, n.old_path, m.path,
           (SELECT min(r.started) FROM mailbox_run mr JOIN runs r ON r.id = mr.run_id
            WHERE mr.mailbox_id = n.mailbox_id AND r.started > n.until)
    FROM mailbox_rename n JOIN mailbox m ON m.id = n.mailbox_id)";

bool Wanted(const std::set<int64_t>& mailboxes, int64_t id) { return mailboxes.empty() || mailboxes.count(id) != 0; }

std::string Joined(const std::string& path, const std::string& name) { return path + name; }

}  // namespace

bool ChangeLog::Read(sqlite3* db, const std::string& since, const std::set<int64_t>& mailboxes,
                     std::vector<HistoryChange>& changes) {
    if (!ReadFolders(db, since, mailboxes, changes) || !ReadMailboxes(db, since, mailboxes, changes)) return false;
    // Oldest first; within a run the mailbox's own change before its folders'.
    std::stable_sort(changes.begin(), changes.end(), [](const HistoryChange& a, const HistoryChange& b) {
        const bool aMailbox = a.kind >= HistoryChange::Kind::MailboxNew, bMailbox = b.kind >= HistoryChange::Kind::MailboxNew;
        return std::tie(a.recordedAt, a.mailbox, bMailbox, a.fileName) < std::tie(b.recordedAt, b.mailbox, aMailbox, b.fileName);
    });
    return true;
}

// A row without a size says the folder went; one after such a row, or with
// none before, that it came (unless with the mailbox itself); one whose
// place in the tree or name differs from the row before, that it moved.
bool ChangeLog::ReadFolders(sqlite3* db, const std::string& since, const std::set<int64_t>& mailboxes,
                            std::vector<HistoryChange>& changes) {
    Statement rows(db, FolderRows);
    if (!rows.Ok()) return false;
    rows.Text(1, since);
    int code;
    while ((code = rows.Step()) == SQLITE_ROW) {
        if (!Wanted(mailboxes, static_cast<int64_t>(rows.ColumnNumber(0)))) continue;
        HistoryChange change;
        change.mailbox = rows.ColumnText(1);
        change.recordedAt = rows.ColumnText(2);
        change.fileName = rows.ColumnText(4);
        const bool gone = rows.ColumnIsNull(5), before = !rows.ColumnIsNull(9) && !rows.ColumnIsNull(10);
        if (before) change.sizeBefore = rows.ColumnNumber(10);
        if (gone) {
            if (!before) continue;
            change.kind = HistoryChange::Kind::Removed;
            change.folderPath = rows.ColumnText(12);
            change.folderName = rows.ColumnText(13);
        } else {
            change.size = rows.ColumnNumber(5);
            change.folderPath = rows.ColumnText(7);
            change.folderName = rows.ColumnText(8);
            if (!before) {
                if (rows.ColumnNumber(3) == rows.ColumnNumber(14)) continue;  // the mailbox's first run
                change.kind = HistoryChange::Kind::New;
            } else {
                const bool read = rows.ColumnText(6) == "ok" && rows.ColumnText(11) == "ok";
                change.from = Joined(rows.ColumnText(12), rows.ColumnText(13));
                change.to = Joined(change.folderPath, change.folderName);
                if (!read || change.from == change.to) continue;  // grew or shrank, or could not be read
                change.kind = HistoryChange::Kind::Moved;
            }
        }
        changes.push_back(std::move(change));
    }
    return code == SQLITE_DONE;
}

bool ChangeLog::ReadMailboxes(sqlite3* db, const std::string& since, const std::set<int64_t>& mailboxes,
                              std::vector<HistoryChange>& changes) {
    Statement all(db, Mailboxes), renames(db, Renames);
    if (!all.Ok() || !renames.Ok()) return false;
    int code;
    while ((code = all.Step()) == SQLITE_ROW) {
        if (!Wanted(mailboxes, static_cast<int64_t>(all.ColumnNumber(0)))) continue;
        if (all.ColumnText(2) >= since) {
            HistoryChange change;
            change.kind = HistoryChange::Kind::MailboxNew;
            change.mailbox = all.ColumnText(1);
            change.recordedAt = all.ColumnText(2);
            change.size = all.ColumnNumber(3);
            changes.push_back(std::move(change));
        }
        if (!all.ColumnIsNull(5) && all.ColumnText(5) >= since) {
            HistoryChange change;
            change.kind = HistoryChange::Kind::MailboxGone;
            change.mailbox = all.ColumnText(1);
            change.recordedAt = all.ColumnText(5);
            change.sizeBefore = all.ColumnNumber(4);
            changes.push_back(std::move(change));
        }
    }
    if (code != SQLITE_DONE) return false;
    while ((code = renames.Step()) == SQLITE_ROW) {
        if (!Wanted(mailboxes, static_cast<int64_t>(renames.ColumnNumber(0))) || renames.ColumnIsNull(3) ||
            renames.ColumnText(3) < since)
            continue;
        HistoryChange change;
        change.kind = HistoryChange::Kind::MailboxRenamed;
        change.mailbox = renames.ColumnText(2);
        change.recordedAt = renames.ColumnText(3);
        change.from = renames.ColumnText(1);
        change.to = change.mailbox;
        changes.push_back(std::move(change));
    }
    return code == SQLITE_DONE;
}
