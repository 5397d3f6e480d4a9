#pragma once

#include "report/model/MailboxPlace.h"
#include "report/model/Thresholds.h"
#include "report/text/Language.h"
#include "store/FolderCompare.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

enum class ReportFormat { Table, Tsv, Csv, Json, Html };

// What one run of the report is asked to do; the defaults are the panel's.
struct ReportOptions {
    // --sort growth: beside the panel's three columns.
    static constexpr int GrowthColumn = 3;

    std::vector<std::string> mailboxes;  // as given, in the order given; as found once MailboxFinder ran
    // Once MailboxFinder ran: each mailbox's place, and where it looked.
    std::vector<MailboxPlace> places;
    std::vector<MailboxScope> scopes;
    ReportFormat format = ReportFormat::Table;
    int sortColumn = FolderCompare::FolderNameColumn;
    bool descending = false;
    bool compact = true;
    bool showPaths = true;
    // Where the new-mail files lie; relative to each mailbox unless
    // absolute. Empty: no new-mail row.
    std::string newMailDir;
    bool tree = false;
    bool check = false;
    std::string stateFile;  // --since; empty when not asked for
    std::string historyFile;  // --history; empty when not asked for
    // --growth, --growth-since or --from-history: compare with a run of the
    // history, the one ComparisonRule chooses.
    bool historyGrowth = false;
    bool excel = false;     // --excel: CSV for spreadsheets
    size_t top = 0;         // --top: the largest folders of all; 0 when not asked for
    uint64_t minSize = 0;   // --min-size: smaller folders are left out of listings
    unsigned jobs = 1;
    Language language = Language::German;

    // The history read and kept.
    // --growth-since: compare with the recorded run nearest to this moment;
    // without it, with the previous run.
    bool growthSince = false;
    std::time_t growthMoment = 0;
    std::string fromHistory;     // --from-history: the report from this history alone, nothing scanned
    std::time_t keepSeconds = 0;  // --keep: runs older than this go after recording; 0 keeps all
    bool migrateHistory = false;  // --migrate-history: bring the history to this schema, also under --timeout
    bool timeline = false;        // --timeline: each mailbox's recorded runs
    bool changes = false;         // --changes: what came, went and moved
    std::string filter;           // --filter: only the changes whose names hold this, case aside
    std::vector<std::string> rename;  // --rename-mailbox OLD NEW

    // The administrator's routine.
    std::string outputFile;  // --output; empty for standard output
    std::vector<std::string> mailboxLists;  // --mailboxes-from, "-" for standard input
    std::vector<std::string> mailboxRoots;  // --all-under
    bool monitor = false;  // --monitor: a status line and an exit code by the thresholds
    Thresholds thresholds;
    unsigned timeout = 0;  // --timeout in seconds; 0: none
};
