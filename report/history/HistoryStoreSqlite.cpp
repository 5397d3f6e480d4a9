#include "report/history/HistoryStore.h"

#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"
#include "report/history/ChangeLog.h"
#include "report/history/FolderChanges.h"
#include "report/history/HistoryRetention.h"
#include "report/history/HistoryFile.h"
#include "report/history/HistorySchema.h"
#include "report/history/MailboxPresence.h"
#include "report/history/Statement.h"
#include "report/model/MailboxReport.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef FOLDSCAN_VERSION
#define FOLDSCAN_VERSION "0"
#endif

namespace {

HistoryStore::Problem ProblemOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_NOTADB: return HistoryStore::Problem::NotOurs;
    case SQLITE_CORRUPT: return HistoryStore::Problem::Damaged;
    case SQLITE_READONLY: return HistoryStore::Problem::ReadOnly;
    case SQLITE_FULL: return HistoryStore::Problem::Full;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return HistoryStore::Problem::Busy;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return HistoryStore::Problem::CannotOpen;
    default: return HistoryStore::Problem::Other;
    }
}

// The directory a file lies in, "." for a bare name.
std::string DirectoryOf(const std::string& path) {
    const size_t cut = FileSystem::NameStart(path);
    return cut == 0 ? std::string(".") : path.substr(0, cut);
}

// Whether the OS's error of SQLite's last call is a full disk, which SQLite
// tells as an I/O error where it met it on its shared memory.
bool DiskFull(int error) {
#ifdef _WIN32
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
#else
    return error == ENOSPC;
#endif
}

// What ProblemOf says of a query's file that another program writes, when
// its shared memory cannot be had: writing, not unreadable.
bool NeedsSharedMemory(int code) {
    return (code & 0xFF) == SQLITE_CANTOPEN || (code & 0xFF) == SQLITE_READONLY;
}

// A row as the history keeps it: its texts in UTF-8, its path also where
// --no-paths leaves it out of the listing, and no status text for a name.
RecordedFolder Recorded(const MailboxReport& mailbox, const ReportRow& row) {
    const FolderInfo& record = row.record;
    RecordedFolder folder;
    folder.fileName = Utf8FromFileName(record.fileName);
    folder.size = record.size;
    folder.kind = FolderKindName(row.kind);
    folder.status = FolderStatusName(record.status);
    folder.hierarchyKey = Utf8FromCp1252(record.hierarchyKey);
    folder.folderPath = Utf8FromCp1252(mailbox.RecordedPath(row));
    if (record.status == FolderStatus::Ok) folder.folderName = Utf8FromCp1252(record.folderName);
    return folder;
}

}  // namespace

HistoryStore::~HistoryStore() { sqlite3_close_v2(db); }

bool HistoryStore::Fail(Problem kind) {
    problem = kind;
    detail.clear();
    return false;
}

bool HistoryStore::FailWithDatabase() {
    problem = DiskFull(sqlite3_system_errno(db)) ? Problem::Full : ProblemOf(sqlite3_extended_errcode(db));
    detail = sqlite3_errmsg(db);
    return false;
}

bool HistoryStore::Open(const std::string& path, Mode mode) {
    const FileSystem::EntryType type = FileSystem::TypeOf(path);
    const bool exists = type != FileSystem::EntryType::Missing;
    if (exists && type != FileSystem::EntryType::File) return Fail(Problem::CannotOpen);
    if (!exists && mode == Mode::Read) return Fail(Problem::Missing);
    if (!exists) return OpenPending(path);
    return mode == Mode::Read ? OpenForQuery(path) : OpenFile(path, false);
}

void HistoryStore::SetBusyTimeout(int milliseconds) {
    busyMilliseconds = milliseconds;
    if (db) sqlite3_busy_timeout(db, milliseconds);
}

// A history that is not there yet is made by the first run that records:
// until then it is an empty one in memory, so that a run that records
// nothing leaves no file behind. Its directory is looked at now.
bool HistoryStore::OpenPending(const std::string& path) {
    if (FileSystem::TypeOf(DirectoryOf(path)) != FileSystem::EntryType::Directory) return Fail(Problem::CannotOpen);
    pending = path;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        return Fail(Problem::Other);
    sqlite3_extended_result_codes(db, 1);
    return HistorySchema::Create(db, "main", true) || FailWithDatabase();
}

// SQLite takes the path in UTF-8, which it is on Windows, and as bytes
// elsewhere. An existing file is never created anew, so that one that
// vanishes meanwhile is not replaced by an empty database. The file is
// switched to WAL only once it is known to be ours.
bool HistoryStore::OpenFile(const std::string& path, bool create) {
    const int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        problem = ProblemOf(code);
        detail = db ? sqlite3_errmsg(db) : "";
        return false;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyMilliseconds);
    bool fresh = false;
    int version = 0;
    if (!Identify(fresh, version)) {
        // Its log cannot be opened beside it (a read-only share, a
        // directory the user may not write): read as a query reads it.
        if (!NeedsSharedMemory(sqlite3_extended_errcode(db)) || create) return false;
        sqlite3_close_v2(db);
        db = nullptr;
        return OpenForQuery(path);
    }
    // A file that cannot be written is read as it is; Append says why not.
    if (sqlite3_db_readonly(db, "main") == 1) return Opened(fresh, version, Mode::Write);
    if (fresh && !Create()) return false;
    const bool first = version == HistorySchema::FirstVersion;
    if (first && !migrate) return Fail(Problem::OldSchema);
    if (first && !SpaceToMigrate(path)) return false;
    UseWal();
    Statement::Exec(db, "PRAGMA synchronous=NORMAL");
    return (!first || MigrateInPlace()) && (HistorySchema::AddPlaces(db, true) || FailWithDatabase());
}

// A query writes nothing, in the file or beside it, so that whoever may
// read the file may ask it. Without a log beside it the file holds all that
// was written and is read as it stands, without locks or shared memory
// (immutable), Snapshot making sure it held still. With a log, another
// program writes it or left it so: SQLite reads file and log together,
// which takes their shared memory.
bool HistoryStore::OpenForQuery(const std::string& path) {
    const bool logged = HistoryFile::LogWritten(path);
    const std::string uri = HistoryFile::FileUri(path, logged ? "mode=ro" : "immutable=1");
    int code = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        problem = logged && NeedsSharedMemory(code) ? Problem::Writing : ProblemOf(code);
        detail = db ? sqlite3_errmsg(db) : "";
        return false;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyMilliseconds);
    queried = logged ? std::string() : path;
    bool fresh = false;
    int version = 0;
    if (!Identify(fresh, version)) {
        if (logged && NeedsSharedMemory(sqlite3_extended_errcode(db))) problem = Problem::Writing;
        return false;
    }
    return Opened(fresh, version, Mode::Read);
}

// A file opened that is not written: this schema's tables for it, in memory
// where it is still of the first. A query needs a history to ask.
bool HistoryStore::Opened(bool fresh, int version, Mode mode) {
    if (fresh && mode == Mode::Read) return Fail(Problem::NotOurs);
    if (fresh) return HistorySchema::Create(db, "temp", true) || FailWithDatabase();
    if (version != HistorySchema::Version) return ReadFirstInMemory();
    return (Statement::Exec(db, "PRAGMA temp_store=MEMORY") && HistorySchema::AddPlaces(db, false)) ||
           FailWithDatabase();
}

// Bringing a file to this schema writes its rows anew before the old ones
// go: it needs as much free space as the file takes.
bool HistoryStore::SpaceToMigrate(const std::string& path) {
    uint64_t free = 0;
    const uint64_t length = HistoryFile::LengthOf(path);
    if (!FileSystem::FreeSpace(DirectoryOf(path), free) || free >= length) return true;
    problem = Problem::NoSpace;
    spaceNeeded = length;
    spaceFree = free;
    detail.clear();
    return false;
}

bool HistoryStore::Snapshot(const std::function<bool()>& read) {
    if (!db) return false;
    for (int attempt = 0; attempt < SnapshotAttempts; ++attempt) {
        if (queried.empty()) {
            if (!Statement::Exec(db, "BEGIN")) return FailWithDatabase();
            const bool ok = read();
            Statement::Exec(db, "COMMIT");
            return ok;
        }
        const uint64_t before = HistoryFile::Digest(queried);
        if (!read()) return false;
        if (before != 0 && before == HistoryFile::Digest(queried) && !HistoryFile::LogWritten(queried)) return true;
        // Another program wrote it meanwhile: the reading may mix two states.
        const std::string path = queried;
        sqlite3_close_v2(db);
        db = nullptr;
        queried.clear();
        if (!OpenForQuery(path)) return false;
    }
    return Fail(Problem::Writing);
}

// WAL lets runs read while another writes, and stays with the file once
// set. Setting it needs the file to itself, and SQLite does not wait for
// that: it is tried for a while, and a file left in its first mode still
// serves, one run after the other.
void HistoryStore::UseWal() {
    for (int attempt = 0; attempt < busyMilliseconds / 50; ++attempt) {
        Statement mode(db, "PRAGMA journal_mode=WAL");
        int code = mode.Ok() ? mode.Step() : SQLITE_ERROR;
        if (code == SQLITE_ROW && mode.ColumnText(0) == "wal") return;
        if (code != SQLITE_ROW && (code & 0xFF) != SQLITE_BUSY && (code & 0xFF) != SQLITE_LOCKED) return;
        sqlite3_sleep(50);
    }
}

// Only reads, so that another program's file is left as it is: ours by the
// application id, or fresh when it holds nothing at all.
bool HistoryStore::Identify(bool& fresh, int& version) {
    Statement read(db, "SELECT (SELECT application_id FROM pragma_application_id),"
                       " (SELECT user_version FROM pragma_user_version), (SELECT count(*) FROM main.sqlite_master)");
    if (!read.Ok()) return FailWithDatabase();
    if (read.Step() != SQLITE_ROW) return FailWithDatabase();
    const uint64_t id = read.ColumnNumber(0), user = read.ColumnNumber(1), objects = read.ColumnNumber(2);
    fresh = id == 0 && user == 0 && objects == 0;
    if (fresh) return true;
    // Ours by the application id, and of a schema: Create sets both at once.
    if (id != static_cast<uint64_t>(HistorySchema::ApplicationId) || user == 0) return Fail(Problem::NotOurs);
    if (user > static_cast<uint64_t>(HistorySchema::Version)) {
        problem = Problem::Newer;
        detail = "schema " + std::to_string(user);
        return false;
    }
    version = static_cast<int>(user);
    return true;
}

// Another run may create the same fresh database at the same time: the
// write lock decides, and the loser finds the schema there. Space that
// --keep frees goes back to the file bit by bit, which needs saying before
// the first table.
bool HistoryStore::Create() {
    Statement::Exec(db, "PRAGMA auto_vacuum=INCREMENTAL");
    if (!Statement::Exec(db, "BEGIN IMMEDIATE")) return FailWithDatabase();
    bool fresh = false;
    int version = 0;
    bool ok = Identify(fresh, version);
    if (ok && fresh) {
        ok = HistorySchema::Create(db, "main", true) &&
             Statement::Exec(db, "PRAGMA application_id=" + std::to_string(HistorySchema::ApplicationId) +
                          "; PRAGMA user_version=" + std::to_string(HistorySchema::Version));
        if (!ok) FailWithDatabase();
    }
    if (ok && Statement::Exec(db, "COMMIT")) return true;
    if (ok) FailWithDatabase();
    Statement::Exec(db, "ROLLBACK");
    return false;
}

// The first schema's rows become this schema's in one transaction, which
// another run may have done meanwhile; then the space they took goes back.
bool HistoryStore::MigrateInPlace() {
    if (!Statement::Exec(db, "BEGIN IMMEDIATE")) return FailWithDatabase();
    bool fresh = false;
    int version = 0;
    bool ok = Identify(fresh, version);
    if (ok && version == HistorySchema::FirstVersion)
        ok = (HistorySchema::Create(db, "main", false) && HistorySchema::MigrateFirst(db, "main") &&
              HistorySchema::DropFirst(db) && Statement::Exec(db, "PRAGMA user_version=" + std::to_string(HistorySchema::Version))) ||
             FailWithDatabase();
    if (ok && Statement::Exec(db, "COMMIT")) {
        if (version == HistorySchema::FirstVersion) {
            Statement::Exec(db, "PRAGMA auto_vacuum=INCREMENTAL");
            Statement::Exec(db, "VACUUM");
            GiveSpaceBack();
        }
        return true;
    }
    if (ok) FailWithDatabase();
    Statement::Exec(db, "ROLLBACK");
    return false;
}

// A file of the first schema that must not be written: its rows are read
// into this schema's tables in memory, which SQLite finds before the file's.
bool HistoryStore::ReadFirstInMemory() {
    const bool ok = Statement::Exec(db, "PRAGMA temp_store=MEMORY") && Statement::Exec(db, "BEGIN") &&
                    HistorySchema::Create(db, "temp", true) && HistorySchema::MigrateFirst(db, "temp") &&
                    Statement::Exec(db, "COMMIT");
    if (ok) return true;
    FailWithDatabase();
    Statement::Exec(db, "ROLLBACK");
    return false;
}

// The file shrinks once what the log holds is written back; a reader that
// holds on to the log leaves that to a later run.
void HistoryStore::GiveSpaceBack() { Statement::Exec(db, "PRAGMA wal_checkpoint(TRUNCATE)"); }

bool HistoryStore::ReadMailboxes(const char* where, const std::string& key, std::vector<Mailbox>& found) {
    Statement select(db, std::string("SELECT m.id, m.key, m.path, r.id, r.started, mr.count, mr.total FROM mailbox m"
                                     " JOIN mailbox_run mr ON mr.mailbox_id = m.id JOIN runs r ON r.id = mr.run_id") +
                             where + " ORDER BY m.path, m.id, r.started, r.id");
    if (!select.Ok()) return FailWithDatabase();
    if (!key.empty()) select.Text(1, key);
    int code;
    while ((code = select.Step()) == SQLITE_ROW) {
        const int64_t id = static_cast<int64_t>(select.ColumnNumber(0));
        if (found.empty() || found.back().id != id) {
            found.emplace_back();
            found.back().id = id;
            found.back().key = select.ColumnText(1);
            found.back().path = select.ColumnText(2);
        }
        Mailbox::Run run;
        run.id = static_cast<int64_t>(select.ColumnNumber(3));
        run.started = select.ColumnText(4);
        run.count = select.ColumnNumber(5);
        run.total = select.ColumnNumber(6);
        found.back().runs.push_back(std::move(run));
    }
    return code == SQLITE_DONE || FailWithDatabase();
}

bool HistoryStore::Mailboxes(std::vector<Mailbox>& all) {
    all.clear();
    return db && ReadMailboxes("", std::string(), all);
}

bool HistoryStore::FindMailbox(const std::string& key, Mailbox& mailbox) {
    std::vector<Mailbox> found;
    if (!db || key.empty() || !ReadMailboxes(" WHERE m.key = ?1", key, found) || found.empty()) return false;
    mailbox = std::move(found.front());
    return true;
}

bool HistoryStore::GoneSince(std::map<int64_t, std::string>& gone) {
    Statement select(db, "SELECT mailbox_id, since FROM mailbox_gone");
    if (!select.Ok()) return FailWithDatabase();
    int code;
    while ((code = select.Step()) == SQLITE_ROW)
        gone[static_cast<int64_t>(select.ColumnNumber(0))] = select.ColumnText(1);
    return code == SQLITE_DONE || FailWithDatabase();
}

bool HistoryStore::Changes(const std::string& since, const std::set<int64_t>& mailboxes,
                           std::vector<HistoryChange>& changes) {
    return ChangeLog::Read(db, since, mailboxes, changes) || FailWithDatabase();
}

MailboxRename::Outcome HistoryStore::Rename(const std::string& oldKey, const std::string& newKey,
                                            const std::string& newPath) {
    if (!db || sqlite3_db_readonly(db, "main") == 1) {
        if (db) Fail(Problem::ReadOnly);
        return MailboxRename::Outcome::Failed;
    }
    if (!Statement::Exec(db, "BEGIN IMMEDIATE")) {
        FailWithDatabase();
        return MailboxRename::Outcome::Failed;
    }
    const MailboxRename::Outcome outcome = MailboxRename::Join(db, oldKey, newKey, newPath);
    if (outcome == MailboxRename::Outcome::Joined && Statement::Exec(db, "COMMIT")) return outcome;
    if (outcome == MailboxRename::Outcome::Failed || outcome == MailboxRename::Outcome::Joined) FailWithDatabase();
    Statement::Exec(db, "ROLLBACK");
    return outcome == MailboxRename::Outcome::Joined ? MailboxRename::Outcome::Failed : outcome;
}

bool HistoryStore::LatestStart(std::string& started) {
    Statement select(db, "SELECT coalesce(max(started), '') FROM runs");
    if (!select.Ok() || select.Step() != SQLITE_ROW) return FailWithDatabase();
    started = select.ColumnText(0);
    return true;
}

bool HistoryStore::Compare(const Mailbox& mailbox, size_t earlier, size_t latest, EarlierRun* before,
                           std::vector<RecordedFolder>* now) {
    const bool compared = earlier != ComparisonRule::None && before;
    // Compared with the latest run itself, as a run that scans compares with
    // the previous one: its folders are read once.
    const bool same = compared && earlier == latest;
    std::vector<FolderChanges::Present> atEarlier, atLatest;
    FolderChanges changes(db);
    if (!changes.Read(mailbox.id, compared ? mailbox.runs[earlier].id : 0, mailbox.runs[latest].id,
                      compared ? &atEarlier : nullptr, same ? nullptr : &atLatest))
        return FailWithDatabase();
    if (now)
        for (FolderChanges::Present& folder : same ? atEarlier : atLatest) now->push_back(folder.folder);
    if (!compared) return true;

    const Mailbox::Run& run = mailbox.runs[earlier];
    *before = EarlierRun();
    before->written = run.started;
    before->total = run.total;
    for (const FolderChanges::Present& present : atEarlier) {
        EarlierFolder& folder = before->folders[present.folder.fileName];
        folder.size = present.folder.size;
        folder.described = true;
        folder.readable = present.folder.status == "ok";
        folder.folderPath = present.folder.folderPath;
        folder.folderName = present.folder.folderName;
    }
    std::map<int64_t, std::string> started;
    for (const Mailbox::Run& each : mailbox.runs) started[each.id] = each.started;
    for (const FolderChanges::Present& present : atLatest)
        if (before->folders.count(present.folder.fileName) == 0)
            before->firstSeen[present.folder.fileName] = started.count(present.since) != 0
                                                             ? started[present.since]
                                                             : mailbox.runs[latest].started;
    for (size_t i = earlier; i < mailbox.runs.size() && i <= latest; ++i)
        before->series.push_back({mailbox.runs[i].started, mailbox.runs[i].total});
    return true;
}

bool HistoryStore::FindEarlier(const std::string& key, const ComparisonRule& rule, EarlierRun& earlier) {
    Mailbox mailbox;
    if (!FindMailbox(key, mailbox)) return false;
    std::vector<std::time_t> starts;
    for (const Mailbox::Run& run : mailbox.runs) {
        std::time_t when = 0;
        RunTime::ParseUtc(run.started, when);
        starts.push_back(when);
    }
    const ComparisonRule::Choice choice = rule.Choose(starts);
    if (choice.index == ComparisonRule::None ||
        !Compare(mailbox, choice.index, mailbox.runs.size() - 1, &earlier, nullptr))
        return false;
    earlier.beforeHistory = choice.beforeHistory;
    return true;
}

bool HistoryStore::Append(const std::string& started, const std::vector<Entry>& mailboxes,
                          const std::vector<MailboxScope>& scopes, const std::string& keepFrom) {
    if (!pending.empty()) {
        sqlite3_close_v2(db);
        db = nullptr;
        const std::string path = std::move(pending);
        pending.clear();
        if (!OpenFile(path, true)) return false;
    }
    if (!db) return false;
    if (sqlite3_db_readonly(db, "main") == 1) return Fail(Problem::ReadOnly);
    if (!Statement::Exec(db, "BEGIN IMMEDIATE")) return FailWithDatabase();
    const bool ok =
        (AppendRows(started, mailboxes, scopes) && (keepFrom.empty() || HistoryRetention::Keep(db, keepFrom))) ||
        FailWithDatabase();
    if (ok && Statement::Exec(db, "COMMIT")) {
        if (!keepFrom.empty()) GiveSpaceBack();
        return true;
    }
    if (ok) FailWithDatabase();
    Statement::Exec(db, "ROLLBACK");
    return false;
}

// A mailbox named twice in one run (its key the same) is recorded once. One
// the run found but could not read is not recorded, nor taken for gone.
bool HistoryStore::AppendRows(const std::string& started, const std::vector<Entry>& mailboxes,
                              const std::vector<MailboxScope>& scopes) {
    Statement run(db, "INSERT INTO runs(started, version) VALUES (?1, ?2)");
    Statement mailboxRun(db, "INSERT OR IGNORE INTO mailbox_run(mailbox_id, run_id, count, total) VALUES (?1, ?2, ?3, ?4)");
    Statement foundBy(db, "INSERT OR IGNORE INTO mailbox_scope(scope, mailbox_id) SELECT ?2, id FROM mailbox WHERE key = ?1");
    Statement known(db, "SELECT id FROM mailbox WHERE key = ?1");
    if (!run.Ok() || !mailboxRun.Ok() || !foundBy.Ok() || !known.Ok() ||
        !run.Text(1, started).Text(2, FOLDSCAN_VERSION).Run())
        return false;
    const int64_t runId = sqlite3_last_insert_rowid(db);
    FolderChanges changes(db);
    std::set<int64_t> found;
    std::vector<int64_t> fresh;
    likelyRenames.clear();
    for (const Entry& entry : mailboxes) {
        if (!entry.report) {  // not read, but there
            if (!entry.scope.empty() && !foundBy.Text(1, entry.key).Text(2, entry.scope).Run()) return false;
            if (known.Text(1, entry.key).Step() == SQLITE_ROW) found.insert(static_cast<int64_t>(known.ColumnNumber(0)));
            known.Reset();
            continue;
        }
        const MailboxReport& report = *entry.report;
        const bool knownBefore = known.Text(1, entry.key).Step() == SQLITE_ROW;
        known.Reset();
        int64_t id;
        if (!HistorySchema::MailboxId(db, "main", entry.key, entry.path, id)) return false;
        found.insert(id);
        if (!knownBefore) fresh.push_back(id);
        if (!entry.scope.empty() && !foundBy.Text(1, entry.key).Text(2, entry.scope).Run()) return false;
        mailboxRun.Number(1, static_cast<uint64_t>(id)).Number(2, static_cast<uint64_t>(runId));
        if (!mailboxRun.Number(3, report.count).Number(4, report.total).Run()) return false;
        if (sqlite3_changes(db) == 0) continue;
        std::vector<RecordedFolder> folders;
        folders.reserve(report.rows.size());
        for (const ReportRow& row : report.rows) folders.push_back(Recorded(report, row));
        if (!changes.Write(id, runId, folders)) return false;
        changes.Forget(id);
    }
    std::vector<int64_t> goneNow;
    return MailboxPresence::MarkGone(db, started, scopes, found, goneNow) &&
           MailboxPresence::LikelyRenames(db, fresh, goneNow, likelyRenames);
}

