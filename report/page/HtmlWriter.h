#pragma once

#include "report/writers/ReportWriter.h"

// One self-contained HTML page: when it was made, a filter box; with more
// than one mailbox the overview (id "overview"), each mailbox with a bar and
// a link to its section, and with growth its change and line over time; the
// largest folders of all with --top (id "top"); the folders that grew most
// (id "growth-top"); then a section per mailbox (a details element, closed
// where there are several): the summary line, growth with the chart of the
// total over time and findings where asked for, a treemap of the folder
// tree, and its rows in a table (class "folders") that sorts as the panel's
// list does when its column headings are clicked, and the tree with --tree.
// The rows are data for the page's script, which draws them in windows as
// sections open. Style and script are inline; the page fetches nothing, and
// its content security policy forbids it to.
class HtmlWriter : public ReportWriter {
public:
    void Write(const ReportRun& run, std::ostream& out) const override;
};
