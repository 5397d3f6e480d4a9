#pragma once

#include "report/model/ReportOptions.h"
#include "report/text/ReportTexts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A mailbox's recorded runs, for --timeline: when each started (UTC), and
// its count and total then.
struct MailboxTimeline {
    struct Point {
        std::string recordedAt;
        uint64_t count = 0;
        uint64_t total = 0;
    };
    std::string mailbox;  // UTF-8
    std::vector<Point> points;
};

// One change the history tells of, for --changes: a folder that came, went
// or moved, or a mailbox that came, went or was renamed; at the start of
// the run that saw it (UTC). Texts are UTF-8; what a change has no value
// for stays empty.
struct HistoryChange {
    enum class Kind { New, Removed, Moved, MailboxNew, MailboxGone, MailboxRenamed };
    std::string recordedAt;
    std::string mailbox;
    Kind kind = Kind::New;
    std::string fileName, folderPath, folderName;
    std::optional<uint64_t> size, sizeBefore;
    std::string from, to;  // a move's folders, a rename's paths

    // "new", "removed", "moved", "mailbox-new", "mailbox-gone", "mailbox-renamed".
    static const char* Name(Kind kind);
};

// What --timeline or --changes answers from the history, as the writers
// take it.
struct HistoryListing {
    const ReportOptions& options;
    const ReportTexts& texts;
    std::string generatedAt;  // UTC
    std::string since;        // UTC: the window's start; empty for all of the history
    std::vector<MailboxTimeline> timeline;
    std::vector<HistoryChange> changes;
};
