#pragma once

#include "report/writers/ReportWriter.h"

// The listing for a terminal: a line saying when it was made, then per
// mailbox a heading, the rows (or the tree) in aligned columns and the
// summary line, then growth and findings where asked for; the total at the
// end when there is more than one mailbox.
// Control characters in names show as U+FFFD.
class TableWriter : public ReportWriter {
public:
    void Write(const ReportRun& run, std::ostream& out) const override;
    void Write(const HistoryListing& listing, std::ostream& out) const override;
};
