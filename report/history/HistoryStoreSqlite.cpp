#include "report/history/HistoryStore.h"

#include "report/model/MailboxReport.h"
#include "report/text/Utf8.h"

#include <sqlite3.h>

#include <sys/stat.h>

#ifndef FOLDSCAN_VERSION
#define FOLDSCAN_VERSION "0"
#endif

namespace {

constexpr int SchemaVersion = 1;
constexpr int ApplicationId = 0x46534852;  // "FSHR"
constexpr int BusyMilliseconds = 15000;

const char* const Schema = R"(
CREATE TABLE runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, version TEXT NOT NULL);
CREATE TABLE mailboxes(run_id INTEGER NOT NULL REFERENCES runs(id), mailbox TEXT NOT NULL,
                       count INTEGER NOT NULL, total INTEGER NOT NULL, PRIMARY KEY(run_id, mailbox));
CREATE INDEX mailboxes_by_mailbox ON mailboxes(mailbox, run_id);
CREATE TABLE folders(run_id INTEGER NOT NULL REFERENCES runs(id), mailbox TEXT NOT NULL,
                     file_name TEXT NOT NULL, hierarchy_key TEXT NOT NULL, folder TEXT NOT NULL,
                     size INTEGER NOT NULL);
CREATE INDEX folders_by_run ON folders(run_id, mailbox);
)";

// One prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    ~Statement() { sqlite3_finalize(statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return statement != nullptr; }
    Statement& Text(int index, const std::string& text) {
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // Binds without a copy: text must stay as it is until the next Step.
    Statement& KeptText(int index, const std::string& text) {
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        return *this;
    }
    // Sizes beyond 2^63 keep their bits.
    Statement& Number(int index, uint64_t value) {
        sqlite3_bind_int64(statement, index, static_cast<sqlite3_int64>(value));
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return sqlite3_step(statement); }
    void Reset() { sqlite3_reset(statement); }
    std::string ColumnText(int column) const {
        const unsigned char* text = sqlite3_column_text(statement, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                    : std::string();
    }
    uint64_t ColumnNumber(int column) const { return static_cast<uint64_t>(sqlite3_column_int64(statement, column)); }

private:
    sqlite3_stmt* statement = nullptr;
};

// Writes a mailbox's folders, many rows to a statement: each step of a
// statement costs about as much again as the rows it inserts. Every row of
// a batch shares the run and mailbox (?1, ?2) and binds its own four values.
class FolderRows {
public:
    static constexpr size_t Batch = 32;

    explicit FolderRows(sqlite3* db) : batch(db, Sql(Batch).c_str()), single(db, Sql(1).c_str()), texts(3 * Batch) {}
    bool Ok() const { return batch.Ok() && single.Ok(); }

    bool Insert(uint64_t runId, const std::string& mailbox, const std::vector<ReportRow>& rows) {
        batch.Number(1, runId).Text(2, mailbox);
        single.Number(1, runId).Text(2, mailbox);
        size_t r = 0;
        for (; r + Batch <= rows.size(); r += Batch)
            if (!Write(batch, &rows[r], Batch)) return false;
        for (; r < rows.size(); ++r)
            if (!Write(single, &rows[r], 1)) return false;
        return true;
    }

private:
    static std::string Sql(size_t rows) {
        std::string sql = "INSERT INTO folders(run_id, mailbox, file_name, hierarchy_key, folder, size) VALUES ";
        for (size_t i = 0, p = 3; i < rows; ++i, p += 4)
            sql += (i ? ", (?1, ?2, ?" : "(?1, ?2, ?") + std::to_string(p) + ", ?" + std::to_string(p + 1) + ", ?" +
                   std::to_string(p + 2) + ", ?" + std::to_string(p + 3) + ")";
        return sql;
    }

    // The texts are converted into buffers kept for the next batch, and bound
    // as they stand.
    bool Write(Statement& statement, const ReportRow* rows, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const FolderInfo& record = rows[i].record;
            std::string* text = &texts[3 * i];
            text[0].clear();
            AppendUtf8FromCp1252(text[0], record.fileName);
            text[1].clear();
            AppendUtf8FromCp1252(text[1], record.hierarchyKey);
            AssignShownName(text[2], rows[i]);
            const int p = static_cast<int>(3 + 4 * i);
            statement.KeptText(p, text[0]).KeptText(p + 1, text[1]).KeptText(p + 2, text[2]).Number(p + 3, record.size);
        }
        const bool done = statement.Step() == SQLITE_DONE;
        statement.Reset();
        return done;
    }

    Statement batch, single;
    std::vector<std::string> texts;  // three per row of a batch
};

HistoryStore::Problem ProblemOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_NOTADB: return HistoryStore::Problem::NotOurs;
    case SQLITE_CORRUPT: return HistoryStore::Problem::Damaged;
    case SQLITE_READONLY: return HistoryStore::Problem::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return HistoryStore::Problem::Busy;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return HistoryStore::Problem::CannotOpen;
    default: return HistoryStore::Problem::Other;
    }
}

}  // namespace

HistoryStore::~HistoryStore() { sqlite3_close_v2(db); }

bool HistoryStore::Fail(Problem kind) {
    problem = kind;
    detail = db ? sqlite3_errmsg(db) : "";
    return false;
}

bool HistoryStore::Open(const std::string& path) {
    struct stat info;
    const bool exists = stat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) return Fail(Problem::CannotOpen);
    // An existing file is never created anew, so that one that vanishes
    // meanwhile is not replaced by an empty database.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (exists ? 0 : SQLITE_OPEN_CREATE);
#ifdef _WIN32
    // SQLite takes a file name in UTF-8, the command line gives it in the ANSI code page.
    const std::string name = Utf8FromOsText(path);
#else
    const std::string& name = path;
#endif
    int code = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) return Fail(ProblemOf(code));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, BusyMilliseconds);
    bool fresh = false;
    if (!Identify(fresh)) return false;
    if (sqlite3_db_readonly(db, "main") == 1) return true;  // readable; Append will say why not
    if (fresh && !Create()) return false;
    UseWal();
    sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    return true;
}

// WAL lets runs read while another writes, and stays with the file once
// set. Setting it needs the file to itself, and SQLite does not wait for
// that: it is tried for a while, and a file left in its first mode still
// serves, one run after the other.
void HistoryStore::UseWal() {
    for (int attempt = 0; attempt < BusyMilliseconds / 50; ++attempt) {
        Statement mode(db, "PRAGMA journal_mode=WAL");
        int code = mode.Ok() ? mode.Step() : SQLITE_ERROR;
        if (code == SQLITE_ROW && mode.ColumnText(0) == "wal") return;
        if (code != SQLITE_ROW && (code & 0xFF) != SQLITE_BUSY && (code & 0xFF) != SQLITE_LOCKED) return;
        sqlite3_sleep(50);
    }
}

// Only reads, so that another program's file is left as it is: ours by the
// application id, or fresh when it holds nothing at all.
bool HistoryStore::Identify(bool& fresh) {
    Statement read(db, "SELECT (SELECT application_id FROM pragma_application_id),"
                       " (SELECT user_version FROM pragma_user_version), (SELECT count(*) FROM sqlite_master)");
    if (!read.Ok()) return Fail(ProblemOf(sqlite3_errcode(db)));
    int code = read.Step();
    if (code != SQLITE_ROW) return Fail(ProblemOf(code));
    const uint64_t id = read.ColumnNumber(0), version = read.ColumnNumber(1), objects = read.ColumnNumber(2);
    fresh = id == 0 && version == 0 && objects == 0;
    if (fresh) return true;
    if (id != static_cast<uint64_t>(ApplicationId)) return Fail(Problem::NotOurs);
    if (version > static_cast<uint64_t>(SchemaVersion)) {
        detail = "schema " + std::to_string(version);
        problem = Problem::Newer;
        return false;
    }
    return true;
}

// Another run may create the same fresh database at the same time: the
// write lock decides, and the loser finds the schema there.
bool HistoryStore::Create() {
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail(ProblemOf(sqlite3_errcode(db)));
    bool fresh = false;
    bool ok = Identify(fresh);
    if (ok && fresh) {
        const std::string setup = std::string(Schema) + "PRAGMA application_id=" + std::to_string(ApplicationId) +
                                  "; PRAGMA user_version=" + std::to_string(SchemaVersion) + ";";
        ok = sqlite3_exec(db, setup.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!ok) Fail(ProblemOf(sqlite3_errcode(db)));
    }
    if (ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    if (ok) Fail(ProblemOf(sqlite3_errcode(db)));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

bool HistoryStore::Find(const std::string& key, const std::string& latest, EarlierRun& earlier) {
    if (!db) return false;
    Statement run(db, "SELECT m.run_id, r.started, m.total FROM mailboxes m JOIN runs r ON r.id = m.run_id"
                      " WHERE m.mailbox = ?1 AND (?2 = '' OR r.started <= ?2)"
                      " ORDER BY r.started DESC, m.run_id DESC LIMIT 1");
    if (!run.Ok()) return Fail(ProblemOf(sqlite3_errcode(db)));
    int code = run.Text(1, key).Text(2, latest).Step();
    if (code == SQLITE_DONE) return false;
    if (code != SQLITE_ROW) return Fail(ProblemOf(code));
    earlier = EarlierRun();
    earlier.written = run.ColumnText(1);
    earlier.total = run.ColumnNumber(2);
    Statement folders(db, "SELECT file_name, size FROM folders WHERE run_id = ?1 AND mailbox = ?2");
    if (!folders.Ok()) return Fail(ProblemOf(sqlite3_errcode(db)));
    folders.Number(1, run.ColumnNumber(0)).Text(2, key);
    while ((code = folders.Step()) == SQLITE_ROW) earlier.folders[folders.ColumnText(0)] = folders.ColumnNumber(1);
    if (code != SQLITE_DONE) return Fail(ProblemOf(code));
    return true;
}

bool HistoryStore::Append(const std::string& started, const std::vector<const MailboxReport*>& mailboxes,
                          const std::vector<std::string>& keys) {
    if (!db) return false;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail(ProblemOf(sqlite3_errcode(db)));
    bool ok = false;
    {
        Statement run(db, "INSERT INTO runs(started, version) VALUES (?1, ?2)");
        Statement mailbox(db, "INSERT INTO mailboxes(run_id, mailbox, count, total) VALUES (?1, ?2, ?3, ?4)");
        FolderRows folders(db);
        ok = run.Ok() && mailbox.Ok() && folders.Ok() &&
             run.Text(1, started).Text(2, FOLDSCAN_VERSION).Step() == SQLITE_DONE;
        const uint64_t id = static_cast<uint64_t>(sqlite3_last_insert_rowid(db));
        for (size_t m = 0; ok && m < mailboxes.size(); ++m) {
            const MailboxReport& report = *mailboxes[m];
            ok = mailbox.Number(1, id).Text(2, keys[m]).Number(3, report.count).Number(4, report.total).Step() ==
                 SQLITE_DONE;
            mailbox.Reset();
            ok = ok && folders.Insert(id, keys[m], report.rows);
        }
        if (!ok) Fail(ProblemOf(sqlite3_errcode(db)));
    }
    if (ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    if (ok) Fail(ProblemOf(sqlite3_errcode(db)));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}
