#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>

class MailboxNames;
class MailboxReport;
struct ReportRun;

// The HTML page's pictures of growth: in the overview a column with each
// mailbox's change as a signed bar (in a cell of its own, so that the bars
// share one zero line) and, with a history, a cell for the
// small line of its total over the runs in the window (svg.history-spark);
// the folders of all mailboxes that grew most (id "growth-top"); and in a
// mailbox's section a place for the chart of its total over those runs
// (svg.history-chart). The page's script draws the lines from the data.
class GrowthHtml {
public:
    // The growth-top list's length.
    static constexpr size_t TopRows = 10;

    // Whether the page shows growth at all, and lines of totals over time.
    static bool Shown(const ReportRun& run);
    static bool Lines(const ReportRun& run);

    // What the overview's rows show of growth, found once for all of them.
    struct OverviewColumns {
        bool shown = false;
        bool lines = false;
        uint64_t largestChange = 0;  // of any mailbox, without its sign: a full bar
    };
    static OverviewColumns Columns(const ReportRun& run);

    static void OverviewHead(const ReportRun& run, std::ostream& out);
    static void OverviewCells(const ReportRun& run, const OverviewColumns& columns, const MailboxReport& mailbox,
                              std::ostream& out);
    static void TopList(const ReportRun& run, const MailboxNames& names, std::ostream& out);
    static void Chart(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out);
};
