#include "report/HtmlWriter.h"

#include "report/HtmlText.h"
#include "report/ReportRun.h"
#include "report/TreemapSvg.h"
#include "report/Utf8.h"
#include "store/FolderCompare.h"
#include "store/SortRule.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int GrowthColumn = 3;  // beside the panel's three
constexpr int MaxIndent = 40;

const char* const Style = R"(
body { font: 14px/1.4 "DejaVu Sans", Verdana, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; }
h2 { font-size: 1.15em; margin-top: 2em; }
h3 { font-size: 1em; }
table { border-collapse: collapse; margin: .5em 0; }
th, td { border: 1px solid #ccc; padding: .15em .6em; text-align: left; white-space: pre; }
th { background: #eee; cursor: pointer; user-select: none; }
th[aria-sort="ascending"]::after { content: " \25B2"; }
th[aria-sort="descending"]::after { content: " \25BC"; }
td.number, th.number { text-align: right; }
.hint { color: #666; font-size: .9em; }
.error { color: #a00; }
svg.treemap { display: block; border: 1px solid #999; }
svg.treemap rect { stroke: #fff; stroke-width: 1; }
svg.treemap text { font: 11px "DejaVu Sans", Verdana, sans-serif; fill: #111; pointer-events: none; }
)";

// Sorts by the ranks the report computed with the panel's rules; a second
// click on the same heading reverses the order, as in the panel.
const char* const Script = R"(
(function () {
  'use strict';
  function sortTable(table, column, descending) {
    var body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    var key = 'data-rank' + column;
    rows.sort(function (a, b) {
      var d = Number(a.getAttribute(key)) - Number(b.getAttribute(key));
      return descending ? -d : d;
    });
    var fragment = document.createDocumentFragment();
    rows.forEach(function (row) { fragment.appendChild(row); });
    body.appendChild(fragment);
    table.setAttribute('data-sort-column', String(column));
    table.setAttribute('data-descending', descending ? '1' : '0');
    Array.prototype.forEach.call(table.tHead.rows[0].cells, function (cell) {
      var own = Number(cell.getAttribute('data-column')) === column;
      cell.setAttribute('aria-sort', own ? (descending ? 'descending' : 'ascending') : 'none');
    });
  }
  Array.prototype.forEach.call(document.querySelectorAll('table.rows'), function (table) {
    Array.prototype.forEach.call(table.tHead.rows[0].cells, function (cell) {
      function activate() {
        var column = Number(cell.getAttribute('data-column'));
        var current = Number(table.getAttribute('data-sort-column'));
        var descending = table.getAttribute('data-descending') === '1';
        sortTable(table, column, column === current ? !descending : false);
      }
      cell.addEventListener('click', activate);
      cell.addEventListener('keydown', function (event) {
        if (event.key === 'Enter' || event.key === ' ') { event.preventDefault(); activate(); }
      });
    });
  });
})();
)";

// Each row's place in ascending order by each column, ties broken as the
// panel breaks them; the growth column by the change, then the folder name.
std::vector<std::vector<size_t>> Ranks(const MailboxReport& mailbox, bool growth) {
    const std::vector<ReportRow>& rows = mailbox.rows;
    const std::vector<int> display = {FolderCompare::FileNameColumn, FolderCompare::SizeColumn,
                                      FolderCompare::FolderNameColumn};
    auto byColumn = [](const void* a, const void* b, int column) {
        return FolderCompare::CompareColumn(*static_cast<const FolderInfo*>(a), *static_cast<const FolderInfo*>(b),
                                            column);
    };
    std::vector<std::vector<size_t>> ranks(growth ? 4 : 3, std::vector<size_t>(rows.size()));
    std::vector<size_t> order(rows.size());
    for (int column = 0; column < 3; ++column) {
        SortRule rule;
        rule.sortColumn = column;
        rule.tieMode = SortRule::FromLeftmost;
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return rule.Compare(&rows[a].record, &rows[b].record, display, byColumn) < 0;
        });
        for (size_t k = 0; k < order.size(); ++k) ranks[static_cast<size_t>(column)][order[k]] = k;
    }
    if (growth) {
        auto change = [&](const ReportRow& row) {
            if (!mailbox.hasEarlierState) return 0.0;
            double before = row.seenBefore ? static_cast<double>(row.sizeBefore) : 0.0;
            return static_cast<double>(row.record.size) - before;
        };
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            double x = change(rows[a]), y = change(rows[b]);
            return x != y ? x < y : ranks[2][a] < ranks[2][b];
        });
        for (size_t k = 0; k < order.size(); ++k) ranks[GrowthColumn][order[k]] = k;
    }
    return ranks;
}

class Page {
public:
    Page(const ReportRun& run, std::ostream& out) : run(run), t(run.texts), out(out) {}

    void Write() {
        const bool german = t.GetLanguage() == Language::German;
        out << "<!DOCTYPE html>\n<html lang=\"" << (german ? "de" : "en") << "\">\n<head>\n<meta charset=\"utf-8\">\n"
            << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
               "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n"
            << "<title>foldscan-report: " << HtmlText(t.pageTitle) << "</title>\n<style>" << Style
            << "</style>\n</head>\n<body>\n<h1>" << HtmlText(t.pageTitle) << "</h1>\n";
        int serial = 0;
        for (const MailboxReport& mailbox : run.mailboxes) Mailbox(mailbox, ++serial);
        if (run.mailboxes.size() > 1)
            out << "<p class=\"total\">"
                << HtmlText(ReportTexts::Fill(t.totalHeading, {t.Summary(run.Count(), run.Total())})) << "</p>\n";
        out << "<script>" << Script << "</script>\n</body>\n</html>\n";
    }

private:
    void Mailbox(const MailboxReport& mailbox, int serial) {
        out << "<section class=\"mailbox\" id=\"mailbox-" << serial << "\">\n<h2>"
            << HtmlText(ReportTexts::Fill(t.mailboxHeading, {ReportRun::PathText(mailbox)})) << "</h2>\n";
        if (!mailbox.readable) {
            out << "<p class=\"error\">"
                << HtmlText(ReportTexts::Fill(t.mailboxUnreadable, {ReportRun::PathText(mailbox)})) << "</p>\n</section>\n";
            return;
        }
        out << "<p class=\"hint\">" << HtmlText(t.sortHint) << "</p>\n";
        Rows(mailbox);
        out << "<p class=\"summary\">" << HtmlText(t.Summary(mailbox.count, mailbox.total)) << "</p>\n";
        if (run.Growth()) Growth(mailbox);
        if (run.options.check) Findings(mailbox);
        out << "<h3>" << HtmlText(t.treemapHeading) << "</h3>\n";
        TreemapSvg::Write(run, mailbox, out);
        if (run.options.tree) Tree(mailbox);
        out << "</section>\n";
    }

    void Heading(int column, const std::string& title, bool number) {
        out << "<th data-column=\"" << column << "\" tabindex=\"0\"" << (number ? " class=\"number\"" : "")
            << " aria-sort=\""
            << (column == run.options.sortColumn ? (run.options.descending ? "descending" : "ascending") : "none")
            << "\">" << HtmlText(title) << "</th>";
    }

    void Rows(const MailboxReport& mailbox) {
        const bool growth = run.Growth();
        std::vector<std::vector<size_t>> ranks = Ranks(mailbox, growth);
        out << "<table class=\"rows\" data-sort-column=\"" << run.options.sortColumn << "\" data-descending=\""
            << (run.options.descending ? 1 : 0) << "\">\n<thead><tr>";
        Heading(FolderCompare::FileNameColumn, t.fileNameColumn, false);
        Heading(FolderCompare::SizeColumn, t.sizeColumn, true);
        if (growth) Heading(GrowthColumn, t.growthColumn, true);
        Heading(FolderCompare::FolderNameColumn, t.folderNameColumn, false);
        out << "</tr></thead>\n<tbody>\n";
        for (size_t i = 0; i < mailbox.rows.size(); ++i) {
            const ReportRow& row = mailbox.rows[i];
            out << "<tr";
            for (size_t c = 0; c < ranks.size(); ++c) out << " data-rank" << c << "=\"" << ranks[c][i] << '"';
            out << "><td>" << HtmlText(Utf8FromCp1252(row.record.fileName)) << "</td><td class=\"number\" data-bytes=\""
                << row.record.size << "\">" << HtmlText(run.Size(row.record.size)) << "</td>";
            if (growth) out << "<td class=\"number\">" << HtmlText(run.GrowthText(mailbox, row)) << "</td>";
            out << "<td>" << HtmlText(ShownName(row)) << "</td></tr>\n";
        }
        out << "</tbody>\n</table>\n";
    }

    void Growth(const MailboxReport& mailbox) {
        if (!mailbox.hasEarlierState) {
            out << "<p class=\"growth\">" << HtmlText(t.noEarlierState) << "</p>\n";
            return;
        }
        out << "<p class=\"growth\">"
            << HtmlText(ReportTexts::Fill(t.growthPattern, {mailbox.earlierTime,
                                                            t.Change(mailbox.earlierTotal, mailbox.total, true),
                                                            t.Change(mailbox.earlierTotal, mailbox.total, false)}))
            << "</p>\n";
        for (const auto& [name, size] : mailbox.removedFolders)
            out << "<p class=\"removed\">"
                << HtmlText(ReportTexts::Fill(t.removedPattern, {Utf8FromCp1252(name), run.Size(size)})) << "</p>\n";
    }

    void Findings(const MailboxReport& mailbox) {
        if (mailbox.findings.empty()) {
            out << "<p class=\"findings\">" << HtmlText(t.noFindings) << "</p>\n";
            return;
        }
        out << "<h3>" << HtmlText(t.findingsHeading) << "</h3>\n<ul class=\"findings\">\n";
        for (const Finding& finding : mailbox.findings) out << "<li>" << HtmlText(t.Describe(finding)) << "</li>\n";
        out << "</ul>\n";
    }

    void Tree(const MailboxReport& mailbox) {
        out << "<table class=\"tree\">\n<thead><tr><th>" << HtmlText(t.treeFolderColumn) << "</th><th class=\"number\">"
            << HtmlText(t.ownSizeColumn) << "</th><th class=\"number\">" << HtmlText(t.cumulativeColumn)
            << "</th><th>" << HtmlText(t.filesColumn) << "</th></tr></thead>\n<tbody>\n";
        const auto& nodes = mailbox.tree.Nodes();
        for (int id : mailbox.tree.Listing()) {
            const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
            std::string files;
            for (size_t r : node.rows)
                files += (files.empty() ? "" : ", ") + Utf8FromCp1252(mailbox.rows[r].record.fileName);
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
};

}  // namespace

void HtmlWriter::Write(const ReportRun& run, std::ostream& out) const { Page(run, out).Write(); }
