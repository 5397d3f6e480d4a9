#pragma once

#include "report/model/EarlierRun.h"

#include <string>
#include <vector>

class MailboxReport;
class ReportTexts;
struct sqlite3;

// Every run of the report, kept in an SQLite database of the user's choice,
// so that growth can be shown against any earlier run. Schema version 1
// (PRAGMA user_version), marked as ours by its application id:
//
//   runs(id INTEGER PRIMARY KEY, started TEXT, version TEXT)
//       started in UTC, "2026-11-01T12:00:00Z"
//   mailboxes(run_id, mailbox, count, total)
//       mailbox: the canonical path as UTF-8; one per run and mailbox
//   folders(run_id, mailbox, file_name, hierarchy_key, folder, size)
//       texts UTF-8, converted from code page 1252 without loss
//
// The database runs in WAL mode with a busy timeout, so that runs that
// overlap (a nightly job and a person) all land; each is appended in one
// transaction, whole or not at all. A file that is not such a database is
// never written to.
class HistoryStore {
public:
    enum class Problem {
        None,
        CannotOpen,   // missing directory, a directory, no permission
        NotOurs,      // not an SQLite database, or another program's
        Newer,        // a schema this version does not know
        ReadOnly,
        Busy,     // locked by another run for longer than the timeout
        Damaged,  // SQLite finds it corrupt
        Other,
    };

    HistoryStore() = default;
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens the database at path, creating it when the file is missing (or
    // empty). False when it cannot be opened or is not ours.
    bool Open(const std::string& path);

    // The mailbox as the latest run that started no later than latest (UTC;
    // empty for any run) saw it: that run's start, total and folders. False
    // when there is no such run, or on a problem.
    bool Find(const std::string& key, const std::string& latest, EarlierRun& earlier);

    // Appends one run that started at started (UTC) with the readable
    // mailboxes, each under its key; all or nothing.
    bool Append(const std::string& started, const std::vector<const MailboxReport*>& mailboxes,
                const std::vector<std::string>& keys);

    Problem GetProblem() const { return problem; }
    // SQLite's own words about the problem, in English; may be empty.
    const std::string& Detail() const { return detail; }
    // Why the history cannot be read or written, in the report's language,
    // with SQLite's own words where they add something.
    std::string Reason(const ReportTexts& texts) const;

private:
    bool Fail(Problem kind);
    bool Identify(bool& fresh);
    bool Create();
    void UseWal();

    sqlite3* db = nullptr;
    Problem problem = Problem::None;
    std::string detail;
};
