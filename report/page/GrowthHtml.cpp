#include "report/page/GrowthHtml.h"

#include "report/model/ReportRun.h"
#include "report/page/HtmlText.h"
#include "report/page/MailboxNames.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

uint64_t Magnitude(int64_t change) {
    return change < 0 ? 0 - static_cast<uint64_t>(change) : static_cast<uint64_t>(change);
}

// A bar from the middle, to the right for growth, to the left for shrinking,
// half the bar's width standing for the largest change; in a cell of its
// own, so that the middles of all rows line up.
void Bar(int64_t change, uint64_t largest, std::ostream& out) {
    char width[16];
    std::snprintf(width, sizeof width, "%.1f%%", largest == 0 ? 0.0 : 50.0 * Magnitude(change) / largest);
    out << "<td class=\"bar\"><span class=\"gbar\"><span class=\"" << (change < 0 ? "down" : "up")
        << "\" style=\"width:" << width << "\"></span></span></td>";
}

}  // namespace

bool GrowthHtml::Shown(const ReportRun& run) { return run.Growth() && run.AnyCompared(); }

bool GrowthHtml::Lines(const ReportRun& run) {
    for (const MailboxReport& mailbox : run.mailboxes)
        if (!mailbox.series.empty()) return true;
    return false;
}

void GrowthHtml::OverviewHead(const ReportRun& run, std::ostream& out) {
    if (!Shown(run)) return;
    out << "<th class=\"number\" colspan=\"2\">" << HtmlText(run.texts.growthColumn) << "</th>";
    if (Lines(run)) out << "<th>" << HtmlText(run.texts.sparkColumn) << "</th>";
}

GrowthHtml::OverviewColumns GrowthHtml::Columns(const ReportRun& run) {
    OverviewColumns columns;
    columns.shown = Shown(run);
    columns.lines = columns.shown && Lines(run);
    for (const MailboxReport& mailbox : run.mailboxes)
        if (mailbox.hasEarlierState && mailbox.goneSince.empty())
            columns.largestChange = std::max(columns.largestChange, Magnitude(mailbox.TotalChange()));
    return columns;
}

void GrowthHtml::OverviewCells(const ReportRun& run, const OverviewColumns& columns, const MailboxReport& mailbox,
                               std::ostream& out) {
    if (!columns.shown) return;
    // A mailbox that is gone says so in their place.
    if (mailbox.goneSince.empty() && mailbox.hasEarlierState) {
        Bar(mailbox.TotalChange(), columns.largestChange, out);
        out << "<td class=\"number growth\">" << HtmlText(run.OverviewGrowth(mailbox)) << "</td>";
    } else if (mailbox.goneSince.empty()) {
        out << "<td></td><td class=\"number growth\"></td>";
    }
    if (columns.lines) out << "<td class=\"spark\"></td>";
}

// Links lead to the folder's section, as the overview's do.
void GrowthHtml::TopList(const ReportRun& run, const MailboxNames& names, std::ostream& out) {
    if (!Shown(run)) return;
    const ReportTexts& t = run.texts;
    std::vector<Overview::TopRow> top = Overview::TopGrowth(run.mailboxes, TopRows, run.options.minSize, true);
    // A mailbox that is gone grows no more.
    auto gone = [&](const Overview::TopRow& row) { return !run.mailboxes[row.mailbox].goneSince.empty(); };
    top.erase(std::remove_if(top.begin(), top.end(), gone), top.end());
    while (!top.empty() && MailboxReport::Change(run.mailboxes[top.back().mailbox].rows[top.back().row]) <= 0)
        top.pop_back();
    if (top.empty()) return;
    const uint64_t largest = Magnitude(MailboxReport::Change(run.mailboxes[top.front().mailbox].rows[top.front().row]));
    out << "<section id=\"growth-top\">\n<h2>" << HtmlText(t.growthTopHeading) << "</h2>\n<table class=\"growth-top\">\n"
        << "<thead><tr><th>" << HtmlText(t.mailboxColumn) << "</th><th>" << HtmlText(t.fileNameColumn) << "</th><th>"
        << HtmlText(t.folderNameColumn) << "</th><th class=\"number\" colspan=\"2\">" << HtmlText(t.growthColumn)
        << "</th></tr></thead>\n<tbody>\n";
    for (const Overview::TopRow& row : top) {
        const MailboxReport& mailbox = run.mailboxes[row.mailbox];
        const ReportRow& folder = mailbox.rows[row.row];
        out << "<tr><td><a href=\"#mailbox-" << row.mailbox + 1 << "\">" << MailboxNames::Html(names.Name(row.mailbox))
            << "</a></td><td>" << MailboxNames::Html(Printable(Utf8FromFileName(folder.record.fileName)))
            << "</td><td>" << MailboxNames::Html(Printable(ShownName(folder))) << "</td>";
        Bar(MailboxReport::Change(folder), largest, out);
        out << "<td class=\"number\">" << HtmlText(run.GrowthText(mailbox, folder)) << "</td></tr>\n";
    }
    out << "</tbody>\n</table>\n</section>\n";
}

void GrowthHtml::Chart(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    if (mailbox.series.empty()) return;
    out << "<h3>" << HtmlText(run.texts.historyChartHeading) << "</h3>\n<div class=\"history\"></div>\n";
}
