#include "report/page/HtmlWriter.h"

#include "report/page/GrowthHtml.h"
#include "report/page/HtmlAssets.h"
#include "report/page/HtmlData.h"
#include "report/page/HtmlText.h"
#include "report/page/MailboxData.h"
#include "report/page/MailboxNames.h"
#include "report/model/ReportRun.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "store/FolderCompare.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The columns the page's script sorts by: the panel's three, the growth,
// and the share, which orders as the size does.
constexpr int GrowthColumn = ReportOptions::GrowthColumn;
constexpr int ShareColumn = 4;
constexpr size_t MostFileName = 22;  // characters of the largest folder's name in the overview

std::string Percent(double fraction) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", 100 * fraction);
    return text;
}

class Page {
public:
    Page(const ReportRun& run, std::ostream& out) : run(run), t(run.texts), sink(&out), names(run.mailboxes) {}

    void Write() {
        std::ostream& out = *sink;
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
        GrowthHtml::TopList(run, names, out);
        if (run.options.top == 0) RowsTemplate();
        Later later(*this);
        for (size_t m = 0; m < run.mailboxes.size(); ++m)
            later.Item([&] { Mailbox(run.mailboxes[m], static_cast<int>(m)); });
        later.Finish();
        out << "<script type=\"application/json\" id=\"report-data\">";
        HtmlData::Write(run, names, out);
        out << "</script>\n";
        // Each mailbox's folders apart, read by the script when they are needed.
        for (size_t m = 0; m < run.mailboxes.size(); ++m) {
            if (!run.mailboxes[m].readable) continue;
            out << "<script type=\"application/json\" id=\"data-" << m << "\">";
            MailboxData::Write(run, run.mailboxes[m], out);
            out << "</script>\n";
        }
        out << "<script>" << HtmlAssets::Script() << "</script>\n</body>\n</html>\n";
    }

private:
    // The first InlineItems of a list go in the page; the rest in blocks of
    // as many, markup that the script puts in place of each block (a script
    // element of class "later") while the page is idle after it has loaded:
    // a page of thousands of mailboxes opens as fast as one of a hundred.
    // The markup holds no "</script" or "<!--": every text in it is escaped.
    static constexpr size_t InlineItems = 100;

    class Later {
    public:
        // Each block of items between open and close.
        explicit Later(Page& page, std::string open = std::string(), std::string close = std::string())
            : page(page), open(std::move(open)), close(std::move(close)) {}

        template <class Write>
        void Item(const Write& write) {
            const size_t k = count++;
            std::ostream& to = k < InlineItems ? *page.sink : block;
            if (k % InlineItems == 0) to << open;
            std::ostream* kept = page.sink;
            page.sink = &to;
            write();
            page.sink = kept;
            if (count % InlineItems != 0) return;
            to << close;
            Flush();
        }

        // Closes the last block and writes what is still held.
        void Finish() {
            if (count % InlineItems != 0) (count <= InlineItems ? *page.sink : block) << close;
            Flush();
        }

    private:
        void Flush() {
            if (block.tellp() <= 0) return;
            *page.sink << "<script type=\"text/html\" class=\"later\">" << block.str() << "</script>\n";
            block.str(std::string());
        }

        Page& page;
        const std::string open, close;
        size_t count = 0;
        std::ostringstream block;
    };

    // A row a mailbox, largest first (or as sorted); those gone after the
    // others, marked, in no total and no share.
    void Overview() {
        std::ostream& out = *sink;
        out << "<section id=\"overview\">\n<h2>" << HtmlText(t.overviewHeading) << "</h2>\n";
        if (!names.Common().empty())
            out << "<p class=\"common\">" << HtmlText(ReportTexts::Fill(t.commonFolder, {names.Common()})) << "</p>\n";
        // The head and every hundred rows a table of their own, all of the
        // same columns: rows out of view then cost nothing to lay out or
        // to hide.
        const std::string table = "<table class=\"overview\" style=\"width:" + OverviewColumns() + "</colgroup>";
        out << table << "\n<thead><tr><th>" << HtmlText(t.mailboxColumn) << "</th><th class=\"number\">"
            << HtmlText(t.countColumn) << "</th><th class=\"number\">" << HtmlText(t.sizeColumn)
            << "</th><th class=\"number\" colspan=\"2\">" << HtmlText(t.shareColumn) << "</th>";
        GrowthHtml::OverviewHead(run, out);
        out << "<th>" << HtmlText(t.largestColumn) << "</th></tr></thead>\n</table>\n";
        // The mailboxes that are gone come last and count in no total.
        const uint64_t total = run.GetTotal();
        uint64_t largestTotal = 0;
        for (size_t m : run.ranked)
            if (run.mailboxes[m].Counted()) largestTotal = std::max(largestTotal, run.mailboxes[m].total);
        const GrowthHtml::OverviewColumns growth = GrowthHtml::Columns(run);
        Later later(*this, "<div class=\"chunk\">" + table + "<tbody>\n", "</tbody></table></div>\n");
        for (size_t m : run.ranked) later.Item([&] { OverviewRow(m, total, largestTotal, growth); });
        later.Finish();
        out << "<p class=\"total\">" << HtmlText(run.TotalLine()) << "</p>\n</section>\n";
    }

    // The overview's width and columns, in ems of its font: the rest of a
    // "style" attribute, and a colgroup. Names are shortened to fit them.
    std::string OverviewColumns() const {
        const GrowthHtml::OverviewColumns growth = GrowthHtml::Columns(run);
        const bool exact = !run.options.compact;
        std::vector<double> widths = {21, 4.5, exact ? 11 : 6.5, 6.6, 5.6};
        if (growth.shown) {
            widths.push_back(6.6);
            widths.push_back(exact ? 15 : 13.5);
        }
        if (growth.lines) widths.push_back(9.2);
        widths.push_back(16.5);
        double sum = 0;
        std::string cols;
        for (double width : widths) {
            sum += width;
            cols += "<col style=\"width:" + Ems(width) + "\">";
        }
        return Ems(sum) + "\"><colgroup>" + cols;
    }

    static std::string Ems(double value) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1fem", value);
        return text;
    }

    // "nicht mehr gefunden seit DATE", as HTML.
    std::string GoneText(const MailboxReport& mailbox) const {
        return HtmlText(ReportTexts::Fill(t.goneSince, {RunTime::LocalDate(mailbox.goneSince)}));
    }

    void OverviewRow(size_t m, uint64_t total, uint64_t largestTotal, const GrowthHtml::OverviewColumns& growth) {
        std::ostream& out = *sink;
        const MailboxReport& mailbox = run.mailboxes[m];
        const bool gone = !mailbox.goneSince.empty();
        out << "<tr data-mailbox=\"" << m << '"' << (gone ? " class=\"gone\"" : "") << "><td><a href=\"#mailbox-"
            << m + 1 << "\">" << MailboxNames::Html(names.Name(m)) << "</a>";
        out << "</td><td class=\"number\">" << mailbox.count << "</td><td class=\"number\">"
            << HtmlText(run.Size(mailbox.total)) << "</td>";
        // Where its share and growth would be, it says since when it is gone.
        if (gone) {
            out << "<td class=\"gone\" colspan=\"" << (growth.shown ? 4 : 2) << "\">" << GoneText(mailbox) << "</td>";
        } else {
            out << "<td class=\"bar\"><span class=\"bar\"><span style=\"width:"
                << Percent(Overview::Fraction(mailbox.total, largestTotal))
                << "\"></span></span></td><td class=\"number\">"
                << HtmlText(t.Share(Overview::Permille(mailbox.total, total))) << "</td>";
        }
        GrowthHtml::OverviewCells(run, growth, mailbox, out);
        out << "<td>";
        size_t largest = Overview::Largest(mailbox);
        if (largest != Overview::None) {
            const FolderInfo& record = mailbox.rows[largest].record;
            out << MailboxNames::Html(Printable(Utf8FromFileName(record.fileName)), MostFileName) << " ("
                << HtmlText(run.Size(record.size)) << ")";
        }
        out << "</td></tr>\n";
    }

    void Top() {
        std::ostream& out = *sink;
        out << "<section id=\"top\">\n<h2>" << HtmlText(run.TopHeading())
            << "</h2>\n<table class=\"top\">\n<thead><tr><th>" << HtmlText(t.mailboxColumn) << "</th><th>"
            << HtmlText(t.fileNameColumn) << "</th><th class=\"number\">" << HtmlText(t.sizeColumn)
            << "</th><th class=\"number\">" << HtmlText(t.shareColumn) << "</th>"
            << (run.Growth() ? "<th class=\"number\">" + HtmlText(t.growthColumn) + "</th>" : std::string()) << "<th>"
            << HtmlText(t.folderNameColumn) << "</th></tr></thead>\n<tbody></tbody>\n</table>\n</section>\n";
    }

    // Closed where there is more than one, so that the page opens on the
    // overview; its treemap, chart, rows and tree are drawn when it opens.
    void Mailbox(const MailboxReport& mailbox, int index) {
        std::ostream& out = *sink;
        const std::string heading = ReportTexts::Fill(t.mailboxHeading, {ReportRun::PathText(mailbox)});
        if (!mailbox.readable) {
            out << "<section class=\"mailbox\" id=\"mailbox-" << index + 1 << "\" data-mailbox=\"" << index
                << "\">\n<h2>" << HtmlText(heading)
                << "</h2>\n<p class=\"error\">"
                << HtmlText(ReportTexts::Fill(t.mailboxUnreadable, {ReportRun::PathText(mailbox)}))
                << "</p>\n</section>\n";
            return;
        }
        out << "<details class=\"mailbox\" id=\"mailbox-" << index + 1 << "\" data-mailbox=\"" << index << '"'
            << (run.mailboxes.size() > 1 ? "" : " open") << ">\n<summary><h2>" << HtmlText(heading)
            << "</h2> <span class=\"summary\">" << HtmlText(t.Summary(mailbox.count, mailbox.total)) << "</span>";
        if (!mailbox.goneSince.empty())
            out << " <span class=\"gone\">" << GoneText(mailbox) << "</span>";
        out << "</summary>\n";
        const std::string recorded = run.RecordedLine(mailbox);
        if (!recorded.empty()) out << "<p class=\"recorded\">" << HtmlText(recorded) << "</p>\n";
        if (run.options.minSize > 0 && run.options.top == 0)
            out << "<p class=\"hidden\">"
                << HtmlText(ReportTexts::Fill(t.hiddenPattern, {std::to_string(run.Hidden(mailbox))})) << "</p>\n";
        if (run.Growth()) Growth(mailbox);
        GrowthHtml::Chart(run, mailbox, out);
        if (run.options.check) Findings(mailbox);
        out << "<h3>" << HtmlText(t.treemapHeading) << "</h3>\n<div class=\"treemap\"></div>\n";
        if (run.options.top == 0) out << "<div class=\"rows\"></div>\n";
        out << "</details>\n";
    }

    void Heading(int column, const std::string& title, bool number) {
        std::ostream& out = *sink;
        const bool sorted = column == run.options.sortColumn;
        out << "<th data-column=\"" << column << "\" tabindex=\"0\"" << (number ? " class=\"number\"" : "")
            << " aria-sort=\"" << (sorted ? (run.options.descending ? "descending" : "ascending") : "none") << "\">"
            << HtmlText(title) << "</th>";
    }

    // The heads of a section's rows and tree, the same for every section:
    // the script puts a copy in a section as it opens and fills the bodies.
    void RowsTemplate() {
        std::ostream& out = *sink;
        out << "<template id=\"rows\"><p class=\"hint\">" << HtmlText(t.sortHint)
            << "</p>\n<table class=\"folders\">\n<thead><tr>";
        Heading(FolderCompare::FileNameColumn, t.fileNameColumn, false);
        Heading(FolderCompare::SizeColumn, t.sizeColumn, true);
        Heading(ShareColumn, t.shareColumn, true);
        if (run.Growth()) Heading(GrowthColumn, t.growthColumn, true);
        Heading(FolderCompare::FolderNameColumn, t.folderNameColumn, false);
        out << "</tr></thead>\n<tbody></tbody>\n</table>\n";
        if (run.options.tree) Tree();
        out << "</template>\n";
    }

    void Growth(const MailboxReport& mailbox) {
        std::ostream& out = *sink;
        out << "<p class=\"growth\">" << HtmlText(run.GrowthLine(mailbox)) << "</p>\n";
        for (const std::string& line : run.RemovedLines(mailbox)) out << "<p class=\"removed\">" << HtmlText(line) << "</p>\n";
    }

    void Findings(const MailboxReport& mailbox) {
        std::ostream& out = *sink;
        if (mailbox.findings.empty()) {
            out << "<p class=\"findings\">" << HtmlText(t.noFindings) << "</p>\n";
            return;
        }
        out << "<h3>" << HtmlText(t.findingsHeading) << "</h3>\n<ul class=\"findings\">\n";
        for (const Finding& finding : mailbox.findings) out << "<li>" << HtmlText(finding.Describe(t)) << "</li>\n";
        out << "</ul>\n";
    }

    // The head only: the script fills the body from the tree.
    void Tree() {
        std::ostream& out = *sink;
        out << "<table class=\"tree\">\n<thead><tr><th>" << HtmlText(t.treeFolderColumn) << "</th><th class=\"number\">"
            << HtmlText(t.ownSizeColumn) << "</th><th class=\"number\">" << HtmlText(t.cumulativeColumn)
            << "</th><th>" << HtmlText(t.filesColumn) << "</th></tr></thead>\n<tbody></tbody>\n</table>\n";
    }

    const ReportRun& run;
    const ReportTexts& t;
    std::ostream* sink;  // where the page goes, or for now a block written later
    const MailboxNames names;
};

}  // namespace

void HtmlWriter::Write(const ReportRun& run, std::ostream& out) const { Page(run, out).Write(); }
