#pragma once

#include "report/ReportWriter.h"

// One self-contained HTML page: per mailbox the rows in a table that sorts
// as the panel's list does when its column headings are clicked, the
// summary line, a treemap of the folder tree, and growth, findings and the
// tree where asked for. Style and script are inline; the page fetches
// nothing, and its content security policy forbids it to.
class HtmlWriter : public ReportWriter {
public:
    void Write(const ReportRun& run, std::ostream& out) const override;
};
