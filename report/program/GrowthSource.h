#pragma once

#include "report/history/GrowthState.h"
#include "report/history/HistoryStore.h"
#include "report/model/HistoryListing.h"
#include "report/model/EarlierRun.h"

#include <chrono>
#include <optional>
#include <set>
#include <ostream>
#include <string>
#include <vector>

class MailboxReport;
struct ReportOptions;
class ReportTexts;

// Where a run's growth comes from and what it leaves for the next run: the
// state file of --since or the history of --history, whichever the options
// name; with --from-history, the history is all there is to report. A
// history that cannot be read or written leaves a scanning run without
// growth or unrecorded; the report is still written, and the run fails.
class GrowthSource {
public:
    GrowthSource(const ReportOptions& options, const ReportTexts& texts, std::ostream& err);

    // Reads the state file and opens the history. False, after its message,
    // when the run cannot go on.
    bool Open();
    // Looks up the earlier run of each mailbox of the options' places.
    void Find();
    // The earlier run mailbox i is compared with; null where there is none.
    const EarlierRun* Earlier(size_t i) const { return i < earlier.size() ? earlier[i] : nullptr; }
    // Mailbox i's report is made: what it was compared with can go.
    void Forget(size_t i);

    // --from-history: the mailboxes of the options' places (all where there
    // are none) as the history recorded them, with a note for each it does
    // not know. False, after its message, when the history cannot be read.
    bool ReadRecorded(std::vector<MailboxReport>& mailboxes);
    // --timeline or --changes: the mailboxes of the options' places (all
    // where there are none), within the window of --growth-since. False,
    // after its message, when the history cannot be read or does not know
    // a mailbox named.
    bool ReadListing(HistoryListing& listing);
    // --rename-mailbox: false, after its message, when it is refused or fails.
    bool Rename();

    // Moves the history on with the mailboxes that could be read whole, and
    // then the state file, which stays where it was when the history failed.
    // False, after its message, when either fails.
    bool Record(const std::string& started, const std::vector<MailboxReport>& mailboxes);
    // Whether the history failed on the way: the run fails at its end.
    bool Failed() const { return failed; }

private:
    void Bound();
    bool Unwritable() const;
    bool Named(std::vector<HistoryStore::Mailbox>& named, std::vector<size_t>& unknown);
    void Timeline(const std::vector<HistoryStore::Mailbox>& named, HistoryListing& listing) const;
    void Filter(std::vector<HistoryChange>& changes) const;
    void HistoryFailed(const std::string& pattern);
    const std::string& HistoryFile() const;
    bool SaveState(const std::vector<MailboxReport>& mailboxes);
    bool AppendHistory(const std::string& started, const std::vector<MailboxReport>& mailboxes);

    const ReportOptions& options;
    const ReportTexts& texts;
    std::ostream& err;
    GrowthState state;
    HistoryStore history;
    bool historyOpen = false;
    bool failed = false;
    std::optional<std::chrono::steady_clock::time_point> deadline;  // --timeout's end
    std::vector<EarlierRun> fromHistory;
    std::vector<const EarlierRun*> earlier;
};
