#pragma once

#include "report/history/ComparisonRule.h"
#include "report/history/MailboxRename.h"
#include "report/history/RecordedFolder.h"
#include "report/model/EarlierRun.h"
#include "report/model/HistoryListing.h"
#include "report/model/MailboxPlace.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

class MailboxReport;
class ReportTexts;
struct sqlite3;

// Every run of the report, kept in an SQLite database of the user's choice,
// so that growth can be shown against any earlier run. The tables are
// HistorySchema's (PRAGMA user_version 2), marked as ours by the application
// id; a file of the first schema is brought to this one in place when a run
// first writes to it, and read as this one in memory when only read.
//
// The database runs in WAL mode with a busy timeout, so that runs that
// overlap (a nightly job and a person) all land; each is appended in one
// transaction, whole or not at all, with what --keep deletes. A file that
// is not such a database is never written to. A query (Mode::Read) writes
// nothing, in the file or beside it, and reads in one snapshot.
class HistoryStore {
public:
    enum class Problem {
        None,
        CannotOpen,  // missing directory, a directory, no permission
        Missing,     // no such file, where one is only read
        NotOurs,     // not an SQLite database, or another program's
        Newer,       // a schema this version does not know
        ReadOnly,
        Busy,     // locked by another run for longer than the timeout
        Damaged,  // SQLite finds it corrupt
        Writing,  // a query finds another program writing it, and cannot wait
        OldSchema,  // of the first schema, which a run under --timeout does not bring to this one
        NoSpace,    // bringing it to this schema needs free space as large as the file
        Full,       // the disk filled up while it was written
        Other,
    };

    enum class Mode {
        Write,  // a run that scans: created when missing, brought to this schema
        Read,   // --from-history: never written
    };

    // One mailbox the history knows, with its recorded runs, oldest first.
    struct Mailbox {
        int64_t id = 0;
        std::string key, path;  // path as last recorded, UTF-8
        struct Run {
            int64_t id = 0;
            std::string started;  // UTC
            uint64_t count = 0, total = 0;
        };
        std::vector<Run> runs;
    };

    // A mailbox a run found: its report, key and canonical path as UTF-8, and
    // the text of the scope that found it (empty for a path named as it
    // stands). Without a report, the run could not read it: it is not gone.
    struct Entry {
        const MailboxReport* report;
        std::string key, path;
        std::string scope;
    };

    HistoryStore() = default;
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens the database at path. False when it cannot be opened or is not
    // ours, and in Read mode when it is missing or empty. A missing one is
    // made only when a run is appended.
    bool Open(const std::string& path, Mode mode = Mode::Write);
    // How long a run waits for another that holds the history, before the
    // history is given up as busy; from the next statement on.
    void SetBusyTimeout(int milliseconds);
    static constexpr int DefaultBusyMilliseconds = 15000;
    // Whether a file of the first schema is brought to this one when a run
    // opens it to write: not under --timeout, since that may take longer than
    // the time given; set before Open.
    void SetMigrate(bool allowed) { migrate = allowed; }

    // Runs read, which asks the history, on one snapshot of it: in one
    // transaction, or for a file read as it stands under its stamp, read
    // again when another program changed it meanwhile. False, with the
    // problem, when read fails or the file would not hold still.
    bool Snapshot(const std::function<bool()>& read);

    // The comparison of a mailbox that is scanned now: the run that rule
    // chooses among all the mailbox's recorded runs, as EarlierRun has it
    // (with the folders that came since and the totals of every run from it
    // on). False when the history has no run of it, or on a problem.
    bool FindEarlier(const std::string& key, const ComparisonRule& rule, EarlierRun& earlier);

    // Every mailbox, by path; or the one with this key (false when it is
    // not known, or on a problem).
    bool Mailboxes(std::vector<Mailbox>& all);
    bool FindMailbox(const std::string& key, Mailbox& mailbox);
    // The start of the latest run (UTC); empty for none.
    bool LatestStart(std::string& started);
    // The mailbox's folders at its run latest, and with earlier (not
    // ComparisonRule::None) the comparison with its run earlier.
    bool Compare(const Mailbox& mailbox, size_t earlier, size_t latest, EarlierRun* before,
                 std::vector<RecordedFolder>& now);

    // Appends one run that started at started (UTC) with these mailboxes
    // and where it looked for them; then, where keepFrom (UTC) is not empty,
    // deletes what HistoryRetention keeps from it. All or nothing.
    bool Append(const std::string& started, const std::vector<Entry>& mailboxes,
                const std::vector<MailboxScope>& scopes = {}, const std::string& keepFrom = std::string());

    // Each mailbox (by id) that a run after its latest looked for where it
    // had been found, and did not find: the start of the first such run
    // (UTC). A mailbox such a run could not read is not gone, nor one no
    // later run looked for in its place.
    bool GoneSince(std::map<int64_t, std::string>& gone);

    // What changed from since (UTC) on, oldest first (ChangeLog), in the
    // mailboxes with these ids, or in all where none are given.
    bool Changes(const std::string& since, const std::set<int64_t>& mailboxes, std::vector<HistoryChange>& changes);

    // --rename-mailbox: joins the runs of the mailbox with oldKey to the
    // mailbox at newPath (its key newKey), in one transaction.
    MailboxRename::Outcome Rename(const std::string& oldKey, const std::string& newKey, const std::string& newPath);

    // After Append: the mailboxes the run found for the first time whose
    // folders are those of a mailbox it found gone, by their paths: each
    // likely renamed from the first to the second.
    const std::vector<std::pair<std::string, std::string>>& LikelyRenames() const { return likelyRenames; }

    Problem GetProblem() const { return problem; }
    // With Problem::NoSpace: the space the file takes, and the space free.
    uint64_t SpaceNeeded() const { return spaceNeeded; }
    uint64_t SpaceFree() const { return spaceFree; }
    // SQLite's own words about the problem, in English; may be empty.
    const std::string& Detail() const { return detail; }
    // Why the history cannot be read or written, in the report's language,
    // with SQLite's own words where they add something.
    std::string Reason(const ReportTexts& texts) const;

private:
    bool Fail(Problem kind);
    bool FailWithDatabase();
    bool OpenPending(const std::string& path);
    bool OpenFile(const std::string& path, bool create);
    bool OpenForQuery(const std::string& path);
    bool Opened(bool fresh, int version, Mode mode);
    bool SpaceToMigrate(const std::string& path);
    bool Identify(bool& fresh, int& version);
    bool Create();
    bool MigrateInPlace();
    bool ReadFirstInMemory();
    void UseWal();
    void GiveSpaceBack();
    bool ReadMailboxes(const char* where, const std::string& key, std::vector<Mailbox>& found);
    bool AppendRows(const std::string& started, const std::vector<Entry>& mailboxes,
                    const std::vector<MailboxScope>& scopes);

    sqlite3* db = nullptr;
    std::string pending;  // the history to be made by the first Append
    std::string queried;  // a query's file, read as it stands (immutable) where set
    Problem problem = Problem::None;
    std::string detail;
    int busyMilliseconds = DefaultBusyMilliseconds;
    bool migrate = true;
    uint64_t spaceNeeded = 0, spaceFree = 0;  // with Problem::NoSpace
    std::vector<std::pair<std::string, std::string>> likelyRenames;
    static constexpr int SnapshotAttempts = 3;
};
