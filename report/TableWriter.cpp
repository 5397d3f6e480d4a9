#include "report/TableWriter.h"

#include "report/ReportRun.h"
#include "report/Utf8.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Deeper levels of a hostile tree indent no further, so that a line's
// length does not grow with the depth.
constexpr int MaxIndent = 40;

// Columns of cells, aligned by their widths in characters; the last column
// is not padded.
class Columns {
public:
    Columns(std::vector<std::string> titles, std::vector<bool> rightAligned)
        : rightAligned(std::move(rightAligned)) {
        Add(std::move(titles));
    }

    void Add(std::vector<std::string> cells) {
        for (std::string& cell : cells) cell = Printable(cell);
        lines.push_back(std::move(cells));
    }

    void Write(std::ostream& out) const {
        std::vector<size_t> widths(rightAligned.size(), 0);
        for (const auto& line : lines)
            for (size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], Utf8Length(line[c]));
        for (size_t k = 0; k < lines.size(); ++k) {
            WriteLine(out, lines[k], widths);
            if (k == 0) {
                std::vector<std::string> rule;
                for (size_t width : widths) rule.push_back(std::string(width, '-'));
                WriteLine(out, rule, widths);
            }
        }
    }

private:
    void WriteLine(std::ostream& out, const std::vector<std::string>& cells, const std::vector<size_t>& widths) const {
        std::string line;
        for (size_t c = 0; c < cells.size(); ++c) {
            std::string pad(widths[c] - Utf8Length(cells[c]), ' ');
            bool last = c + 1 == cells.size();
            if (c > 0) line += "  ";
            line += rightAligned[c] ? pad + cells[c] : (last ? cells[c] : cells[c] + pad);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << '\n';
    }

    std::vector<bool> rightAligned;
    std::vector<std::vector<std::string>> lines;
};

void WriteRows(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    const ReportTexts& t = run.texts;
    const bool growth = run.Growth();
    std::vector<std::string> titles{t.fileNameColumn, t.sizeColumn, t.folderNameColumn};
    std::vector<bool> right{false, true, false};
    if (growth) {
        titles.insert(titles.begin() + 2, t.growthColumn);
        right.insert(right.begin() + 2, true);
    }
    Columns table(titles, right);
    for (const ReportRow& row : mailbox.rows) {
        std::vector<std::string> cells{Utf8FromCp1252(row.record.fileName), run.Size(row.record.size), ShownName(row)};
        if (growth) cells.insert(cells.begin() + 2, run.GrowthText(mailbox, row));
        table.Add(std::move(cells));
    }
    table.Write(out);
}

void WriteTree(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    const ReportTexts& t = run.texts;
    Columns table({t.treeFolderColumn, t.ownSizeColumn, t.cumulativeColumn, t.filesColumn},
                  {false, true, true, false});
    const auto& nodes = mailbox.tree.Nodes();
    for (int id : mailbox.tree.Listing()) {
        const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
        std::string files;
        for (size_t r : node.rows) files += (files.empty() ? "" : ", ") + Utf8FromCp1252(mailbox.rows[r].record.fileName);
        std::string indent(2 * static_cast<size_t>(std::min(node.depth - 1, MaxIndent)), ' ');
        table.Add({indent + Utf8FromCp1252(node.name), run.Size(node.own), run.Size(node.cumulative), files});
    }
    table.Write(out);
}

void WriteGrowth(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    const ReportTexts& t = run.texts;
    if (!mailbox.hasEarlierState) {
        out << t.noEarlierState << '\n';
        return;
    }
    out << ReportTexts::Fill(t.growthPattern, {mailbox.earlierTime, t.Change(mailbox.earlierTotal, mailbox.total, true),
                                               t.Change(mailbox.earlierTotal, mailbox.total, false)})
        << '\n';
    for (const auto& [name, size] : mailbox.removedFolders)
        out << Printable(ReportTexts::Fill(t.removedPattern, {Utf8FromCp1252(name), run.Size(size)})) << '\n';
}

void WriteFindings(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    if (mailbox.findings.empty()) {
        out << run.texts.noFindings << '\n';
        return;
    }
    out << run.texts.findingsHeading << '\n';
    for (const Finding& finding : mailbox.findings) out << "  " << Printable(run.texts.Describe(finding)) << '\n';
}

}  // namespace

void TableWriter::Write(const ReportRun& run, std::ostream& out) const {
    const ReportTexts& t = run.texts;
    bool first = true;
    for (const MailboxReport& mailbox : run.mailboxes) {
        if (!mailbox.readable) continue;
        if (!first) out << '\n';
        first = false;
        out << Printable(ReportTexts::Fill(t.mailboxHeading, {ReportRun::PathText(mailbox)})) << "\n\n";
        if (run.options.tree)
            WriteTree(run, mailbox, out);
        else
            WriteRows(run, mailbox, out);
        out << t.Summary(mailbox.count, mailbox.total) << '\n';
        if (run.Growth()) WriteGrowth(run, mailbox, out);
        if (run.options.check) WriteFindings(run, mailbox, out);
    }
    if (run.mailboxes.size() > 1) {
        if (!first) out << '\n';
        out << ReportTexts::Fill(t.totalHeading, {t.Summary(run.Count(), run.Total())}) << '\n';
    }
}
