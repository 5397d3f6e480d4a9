#include "report/history/HistorySchema.h"

#include "report/history/FolderChanges.h"
#include "report/history/MailboxKey.h"
#include "report/history/Statement.h"
#include "report/model/ReportRow.h"
#include "report/text/ReportTexts.h"
#include "report/text/Utf8.h"

#include <vector>

namespace HistorySchema {
namespace {

// Each table once for its schema: "%" stands for it.
const char* const Runs = "CREATE TABLE %.runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, version TEXT NOT NULL);";
const char* const Tables = R"(
CREATE TABLE %.mailbox(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE, path TEXT NOT NULL);
CREATE TABLE %.mailbox_run(mailbox_id INTEGER NOT NULL REFERENCES mailbox(id),
                           run_id INTEGER NOT NULL REFERENCES runs(id), count INTEGER NOT NULL,
                           total INTEGER NOT NULL, PRIMARY KEY(mailbox_id, run_id)) WITHOUT ROWID;
CREATE TABLE %.folder_change(mailbox_id INTEGER NOT NULL REFERENCES mailbox(id), file_name TEXT NOT NULL,
                             run_id INTEGER NOT NULL REFERENCES runs(id), size INTEGER, kind TEXT NOT NULL,
                             status TEXT NOT NULL, hierarchy_key TEXT NOT NULL, folder_path TEXT NOT NULL,
                             folder_name TEXT NOT NULL, PRIMARY KEY(mailbox_id, file_name, run_id)) WITHOUT ROWID;
)";
// Added to the second schema later, so that a file written before, or by a
// version before, lacks them: "IF NOT EXISTS", and a file read without them
// gets them empty in memory.
const char* const Places = R"(
CREATE TABLE IF NOT EXISTS %.mailbox_scope(scope TEXT NOT NULL, mailbox_id INTEGER NOT NULL REFERENCES mailbox(id),
                                           PRIMARY KEY(scope, mailbox_id)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS %.mailbox_gone(mailbox_id INTEGER PRIMARY KEY REFERENCES mailbox(id),
                                          since TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS %.mailbox_rename(mailbox_id INTEGER NOT NULL REFERENCES mailbox(id),
                                            old_path TEXT NOT NULL, until TEXT NOT NULL);
)";

std::string In(const std::string& sql, const std::string& schema) {
    std::string out;
    for (char c : sql) {
        if (c == '%')
            out += schema;
        else
            out += c;
    }
    return out;
}

// The first schema kept no kind: the new-mail row is named "*.CNM", an
// ".MBX" file names its kind.
std::string KindOf(const std::string& fileName) {
    if (!fileName.empty() && fileName[0] == '*') return "newmail";
    const size_t n = fileName.size();
    if (n >= 4 && fileName[n - 4] == '.' && (fileName[n - 3] | 0x20) == 'm' && (fileName[n - 2] | 0x20) == 'b' &&
        (fileName[n - 1] | 0x20) == 'x')
        return "mbx";
    return "pmm";
}

// The status whose text, in either language, ends the name the first schema
// showed for a folder: its file could not be read. Ok for the others.
FolderStatus StatusShownIn(const std::string& shown, size_t& textStart) {
    for (Language language : {Language::German, Language::English}) {
        const ReportTexts texts(language);
        for (FolderStatus status : {FolderStatus::CannotOpen, FolderStatus::NotValid, FolderStatus::MbxCannotOpen,
                                    FolderStatus::PmgCannotOpen, FolderStatus::PmgNotValid}) {
            const std::string text = Utf8FromCp1252(texts.StatusText(status));
            if (shown.size() >= text.size() && shown.compare(shown.size() - text.size(), text.size(), text) == 0) {
                textStart = shown.size() - text.size();
                return status;
            }
        }
    }
    return FolderStatus::Ok;
}

// The first schema kept the shown name, path and name joined; the path ends
// at its last separator, so that joined again they are what was kept. A
// folder that could not be read showed its status text in place of its
// name: it keeps its status, and no name.
RecordedFolder FirstFolder(Statement& folders) {
    RecordedFolder folder;
    folder.fileName = folders.ColumnText(0);
    folder.hierarchyKey = folders.ColumnText(1);
    const std::string shown = folders.ColumnText(2);
    size_t textStart = 0;
    const FolderStatus status = StatusShownIn(shown, textStart);
    if (status != FolderStatus::Ok) {
        folder.folderPath = shown.substr(0, textStart);
    } else {
        const size_t cut = shown.rfind('\\');
        folder.folderPath = cut == std::string::npos ? std::string() : shown.substr(0, cut + 1);
        folder.folderName = cut == std::string::npos ? shown : shown.substr(cut + 1);
    }
    folder.size = folders.ColumnNumber(3);
    folder.kind = KindOf(folder.fileName);
    folder.status = FolderStatusName(status);
    return folder;
}

}  // namespace

bool Create(sqlite3* db, const std::string& schema, bool withRuns) {
    return (!withRuns || Statement::Exec(db, In(Runs, schema))) && Statement::Exec(db, In(Tables, schema)) &&
           Statement::Exec(db, In(Places, schema));
}

bool AddPlaces(sqlite3* db, bool writable) {
    Statement there(db, "SELECT count(*) FROM main.sqlite_master WHERE name = 'mailbox_rename'");
    if (!there.Ok() || there.Step() != SQLITE_ROW) return false;
    if (there.ColumnNumber(0) != 0) return true;
    return Statement::Exec(db, In(Places, writable ? "main" : "temp"));
}

bool MailboxId(sqlite3* db, const std::string& schema, const std::string& key, const std::string& path,
               int64_t& id) {
    Statement upsert(db, In("INSERT INTO %.mailbox(key, path) VALUES (?1, ?2)"
                            " ON CONFLICT(key) DO UPDATE SET path = excluded.path",
                            schema));
    Statement select(db, In("SELECT id FROM %.mailbox WHERE key = ?1", schema));
    if (!upsert.Ok() || !select.Ok() || !upsert.Text(1, key).Text(2, path).Run()) return false;
    if (select.Text(1, key).Step() != SQLITE_ROW) return false;
    id = static_cast<int64_t>(select.ColumnNumber(0));
    return true;
}

// Run by run, as they were appended, each mailbox's folders written as
// changes against its run before: the rows a run of this schema would have
// written. Two spellings of one mailbox in the same run (the same key now)
// keep the first.
bool MigrateFirst(sqlite3* db, const std::string& schema) {
    if (schema != "main" && !Statement::Exec(db, In("INSERT INTO %.runs SELECT id, started, version FROM main.runs", schema)))
        return false;
    Statement mailboxes(db, "SELECT run_id, mailbox, count, total FROM main.mailboxes ORDER BY run_id, rowid");
    Statement runOf(db, In("INSERT OR IGNORE INTO %.mailbox_run(mailbox_id, run_id, count, total)"
                           " VALUES (?1, ?2, ?3, ?4)",
                           schema));
    Statement folders(db, "SELECT file_name, hierarchy_key, folder, size FROM main.folders"
                          " WHERE run_id = ?1 AND mailbox = ?2");
    if (!mailboxes.Ok() || !runOf.Ok() || !folders.Ok()) return false;
    FolderChanges changes(db);
    int code;
    while ((code = mailboxes.Step()) == SQLITE_ROW) {
        const uint64_t run = mailboxes.ColumnNumber(0);
        const std::string path = mailboxes.ColumnText(1);
        int64_t id;
        if (!MailboxId(db, schema, MailboxKey::FromPath(path), path, id)) return false;
        runOf.Number(1, static_cast<uint64_t>(id)).Number(2, run);
        if (!runOf.Number(3, mailboxes.ColumnNumber(2)).Number(4, mailboxes.ColumnNumber(3)).Run()) return false;
        if (sqlite3_changes(db) == 0) continue;
        std::vector<RecordedFolder> recorded;
        folders.Number(1, run).Text(2, path);
        while ((code = folders.Step()) == SQLITE_ROW) recorded.push_back(FirstFolder(folders));
        folders.Reset();
        if (code != SQLITE_DONE || !changes.Write(id, static_cast<int64_t>(run), recorded)) return false;
    }
    return code == SQLITE_DONE;
}

bool DropFirst(sqlite3* db) {
    return Statement::Exec(db, "DROP INDEX IF EXISTS main.folders_by_run; DROP INDEX IF EXISTS main.mailboxes_by_mailbox;"
                    " DROP TABLE main.folders; DROP TABLE main.mailboxes;");
}

}  // namespace HistorySchema
