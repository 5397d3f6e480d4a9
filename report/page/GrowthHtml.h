#pragma once

#include <cstddef>
#include <ostream>

class MailboxReport;
struct ReportRun;

// The HTML page's pictures of growth: in the overview a column with each
// mailbox's change as a signed bar and, with a history, a cell for the
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

    static void OverviewHead(const ReportRun& run, std::ostream& out);
    // largestChange: the largest change of any mailbox, without its sign,
    // which a full bar stands for.
    static void OverviewCells(const ReportRun& run, const MailboxReport& mailbox, size_t index,
                              uint64_t largestChange, std::ostream& out);
    static uint64_t LargestChange(const ReportRun& run);
    static void TopList(const ReportRun& run, std::ostream& out);
    static void Chart(const ReportRun& run, const MailboxReport& mailbox, size_t index, std::ostream& out);
};
