#include "report/page/HtmlWriter.h"

#include "report/page/GrowthHtml.h"
#include "report/page/HtmlAssets.h"
#include "report/page/HtmlData.h"
#include "report/page/HtmlText.h"
#include "report/model/ReportRun.h"
#include "report/page/TreemapSvg.h"
#include "report/text/Utf8.h"
#include "store/FolderCompare.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The columns the page's script sorts by: the panel's three, the growth,
// and the share, which orders as the size does.
constexpr int GrowthColumn = ReportOptions::GrowthColumn;
constexpr int ShareColumn = 4;
constexpr int MaxIndent = 40;

// Rectangles of all treemaps together, and of one at most: a page of many
// mailboxes draws each a little coarser.
constexpr size_t PageShapes = 6000;
constexpr size_t MostShapes = 1500;
constexpr size_t FewestShapes = 30;

std::string Percent(double fraction) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", 100 * fraction);
    return text;
}

class Page {
public:
    Page(const ReportRun& run, std::ostream& out) : run(run), t(run.texts), out(out) {}

    void Write() {
        const bool german = t.GetLanguage() == Language::German;
        out << "<!DOCTYPE html>\n<html lang=\"" << (german ? "de" : "en") << "\">\n<head>\n<meta charset=\"utf-8\">\n"
            << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
               "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n"
            << "<title>foldscan-report: " << HtmlText(t.pageTitle) << "</title>\n<style>" << HtmlAssets::Style()
            << "</style>\n</head>\n<body>\n<h1>" << HtmlText(t.pageTitle) << "</h1>\n<p class=\"generated\">"
            << HtmlText(run.GeneratedLine()) << "</p>\n";
        const std::string note = run.HistoryNote();
        if (!note.empty()) out << "<p class=\"note\">" << HtmlText(note) << "</p>\n";
        out << "<p class=\"filter\"><label for=\"filter\">" << HtmlText(t.filterLabel)
            << "</label> <input type=\"search\" id=\"filter\" autocomplete=\"off\"> <output id=\"filter-count\" "
               "for=\"filter\"></output></p>\n";
        if (run.ShowOverview()) Overview();
        if (run.options.top > 0) Top();
        GrowthHtml::TopList(run, out);
        const size_t readable = std::max<size_t>(1, run.GetReadableCount());
        shapes = std::max(FewestShapes, std::min(MostShapes, PageShapes / readable));
        int serial = 0;
        for (const MailboxReport& mailbox : run.mailboxes) Mailbox(mailbox, serial++);
        out << "<script type=\"application/json\" id=\"report-data\">";
        HtmlData::Write(run, out);
        out << "</script>\n<script>" << HtmlAssets::Script() << "</script>\n</body>\n</html>\n";
    }

private:
    void Overview() {
        out << "<section id=\"overview\">\n<h2>" << HtmlText(t.overviewHeading) << "</h2>\n<table class=\"overview\">\n"
            << "<thead><tr><th>" << HtmlText(t.mailboxColumn) << "</th><th class=\"number\">" << HtmlText(t.countColumn)
            << "</th><th class=\"number\">" << HtmlText(t.sizeColumn) << "</th><th class=\"number\">"
            << HtmlText(t.shareColumn) << "</th>";
        GrowthHtml::OverviewHead(run, out);
        out << "<th>" << HtmlText(t.largestColumn) << "</th></tr></thead>\n<tbody>\n";
        const uint64_t total = run.GetTotal();
        uint64_t largestTotal = 0;
        for (size_t m : run.ranked) largestTotal = std::max(largestTotal, run.mailboxes[m].total);
        const GrowthHtml::OverviewColumns growth = GrowthHtml::Columns(run);
        for (size_t m : run.ranked) {
            const MailboxReport& mailbox = run.mailboxes[m];
            out << "<tr data-mailbox=\"" << m << "\"><td><a href=\"#mailbox-" << m + 1 << "\">"
                << HtmlText(ReportRun::PathText(mailbox))
                << "</a></td><td class=\"number\">" << mailbox.count << "</td><td class=\"number\">"
                << HtmlText(run.Size(mailbox.total)) << "</td><td class=\"number\"><span class=\"bar\"><span style=\"width:"
                << Percent(Overview::Fraction(mailbox.total, largestTotal)) << "\"></span></span> "
                << HtmlText(t.Share(Overview::Permille(mailbox.total, total))) << "</td>";
            GrowthHtml::OverviewCells(run, growth, mailbox, m, out);
            out << "<td>";
            size_t largest = Overview::Largest(mailbox);
            if (largest != Overview::None) {
                const FolderInfo& record = mailbox.rows[largest].record;
                out << HtmlText(Utf8FromFileName(record.fileName) + " (" + run.Size(record.size) + ")");
            }
            out << "</td></tr>\n";
        }
        out << "</tbody>\n</table>\n<p class=\"total\">" << HtmlText(run.TotalLine()) << "</p>\n</section>\n";
    }

    void Top() {
        out << "<section id=\"top\">\n<h2>" << HtmlText(run.TopHeading())
            << "</h2>\n<table class=\"top\">\n<thead><tr><th>" << HtmlText(t.mailboxColumn) << "</th><th>"
            << HtmlText(t.fileNameColumn) << "</th><th class=\"number\">" << HtmlText(t.sizeColumn)
            << "</th><th class=\"number\">" << HtmlText(t.shareColumn) << "</th>"
            << (run.Growth() ? "<th class=\"number\">" + HtmlText(t.growthColumn) + "</th>" : std::string()) << "<th>"
            << HtmlText(t.folderNameColumn) << "</th></tr></thead>\n<tbody></tbody>\n</table>\n</section>\n";
    }

    // Closed where there is more than one, so that the page opens on the
    // overview; the rows are drawn when a section opens.
    void Mailbox(const MailboxReport& mailbox, int index) {
        const std::string heading = ReportTexts::Fill(t.mailboxHeading, {ReportRun::PathText(mailbox)});
        if (!mailbox.readable) {
            out << "<section class=\"mailbox\" id=\"mailbox-" << index + 1 << "\">\n<h2>" << HtmlText(heading)
                << "</h2>\n<p class=\"error\">"
                << HtmlText(ReportTexts::Fill(t.mailboxUnreadable, {ReportRun::PathText(mailbox)}))
                << "</p>\n</section>\n";
            return;
        }
        out << "<details class=\"mailbox\" id=\"mailbox-" << index + 1 << "\" data-mailbox=\"" << index << '"'
            << (run.mailboxes.size() > 1 ? "" : " open") << ">\n<summary><h2>" << HtmlText(heading)
            << "</h2> <span class=\"summary\">" << HtmlText(t.Summary(mailbox.count, mailbox.total))
            << "</span></summary>\n";
        const std::string recorded = run.RecordedLine(mailbox);
        if (!recorded.empty()) out << "<p class=\"recorded\">" << HtmlText(recorded) << "</p>\n";
        if (run.options.minSize > 0 && run.options.top == 0)
            out << "<p class=\"hidden\">"
                << HtmlText(ReportTexts::Fill(t.hiddenPattern, {std::to_string(run.Hidden(mailbox))})) << "</p>\n";
        if (run.Growth()) Growth(mailbox);
        GrowthHtml::Chart(run, mailbox, static_cast<size_t>(index), out);
        if (run.options.check) Findings(mailbox);
        out << "<h3>" << HtmlText(t.treemapHeading) << "</h3>\n";
        TreemapSvg::Write(run, mailbox, out, shapes);
        if (run.options.top == 0) {
            Rows(index);
            if (run.options.tree) Tree(mailbox);
        }
        out << "</details>\n";
    }

    void Heading(int column, const std::string& title, bool number) {
        const bool sorted = column == run.options.sortColumn;
        out << "<th data-column=\"" << column << "\" tabindex=\"0\"" << (number ? " class=\"number\"" : "")
            << " aria-sort=\"" << (sorted ? (run.options.descending ? "descending" : "ascending") : "none") << "\">"
            << HtmlText(title) << "</th>";
    }

    // The head only: the page's script fills the body from the data.
    void Rows(int index) {
        out << "<p class=\"hint\">" << HtmlText(t.sortHint) << "</p>\n<table class=\"folders\" data-mailbox=\"" << index
            << "\">\n<thead><tr>";
        Heading(FolderCompare::FileNameColumn, t.fileNameColumn, false);
        Heading(FolderCompare::SizeColumn, t.sizeColumn, true);
        Heading(ShareColumn, t.shareColumn, true);
        if (run.Growth()) Heading(GrowthColumn, t.growthColumn, true);
        Heading(FolderCompare::FolderNameColumn, t.folderNameColumn, false);
        out << "</tr></thead>\n<tbody></tbody>\n</table>\n";
    }

    void Growth(const MailboxReport& mailbox) {
        out << "<p class=\"growth\">" << HtmlText(run.GrowthLine(mailbox)) << "</p>\n";
        for (const std::string& line : run.RemovedLines(mailbox)) out << "<p class=\"removed\">" << HtmlText(line) << "</p>\n";
    }

    void Findings(const MailboxReport& mailbox) {
        if (mailbox.findings.empty()) {
            out << "<p class=\"findings\">" << HtmlText(t.noFindings) << "</p>\n";
            return;
        }
        out << "<h3>" << HtmlText(t.findingsHeading) << "</h3>\n<ul class=\"findings\">\n";
        for (const Finding& finding : mailbox.findings) out << "<li>" << HtmlText(finding.Describe(t)) << "</li>\n";
        out << "</ul>\n";
    }

    void Tree(const MailboxReport& mailbox) {
        out << "<table class=\"tree\">\n<thead><tr><th>" << HtmlText(t.treeFolderColumn) << "</th><th class=\"number\">"
            << HtmlText(t.ownSizeColumn) << "</th><th class=\"number\">" << HtmlText(t.cumulativeColumn)
            << "</th><th>" << HtmlText(t.filesColumn) << "</th></tr></thead>\n<tbody>\n";
        const auto& nodes = mailbox.tree.Nodes();
        for (int id : mailbox.tree.Listing()) {
            const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
            if (node.cumulative < run.options.minSize) continue;
            const std::string files = mailbox.FilesOf(id);
            std::string indent(2 * static_cast<size_t>(std::min(node.depth - 1, MaxIndent)), ' ');
            out << "<tr data-node=\"" << id << "\"><td>" << indent << HtmlText(Utf8FromCp1252(node.name))
                << "</td><td class=\"number\">" << HtmlText(run.Size(node.own)) << "</td><td class=\"number\">"
                << HtmlText(run.Size(node.cumulative)) << "</td><td>" << HtmlText(files) << "</td></tr>\n";
        }
        out << "</tbody>\n</table>\n";
    }

    const ReportRun& run;
    const ReportTexts& t;
    std::ostream& out;
    size_t shapes = MostShapes;
};

}  // namespace

void HtmlWriter::Write(const ReportRun& run, std::ostream& out) const { Page(run, out).Write(); }
