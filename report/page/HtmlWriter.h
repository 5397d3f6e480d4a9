#pragma once

#include "report/writers/ReportWriter.h"

// One self-contained HTML page: when it was made, a filter box; with more
// than one mailbox the overview (id "overview"): the folder all mailboxes lie
// in said once, each mailbox with a bar and a link to its section, and with
// growth its change and line over time, those gone after the others; the
// largest folders of all with --top (id "top"); the folders that grew most
// (id "growth-top"); then a section per mailbox (a details element, closed
// where there are several): the summary line, growth and findings where
// asked for, and places for the chart of its total over time, its treemap,
// its rows (a table of class "folders" that sorts as the panel's list does
// when its column headings are clicked) and its tree with --tree. The page's
// script draws those when the section opens, from the mailbox's own data
// block (MailboxData), so that what the page costs follows what it shows.
// Style and script are inline; the page fetches nothing, and its content
// security policy forbids it to.
class HtmlWriter : public ReportWriter {
public:
    void Write(const ReportRun& run, std::ostream& out) const override;
};
