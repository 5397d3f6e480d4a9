#include "report/writers/TableWriter.h"

#include "report/model/HistoryListing.h"
#include "report/model/ReportRun.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Deeper levels of a hostile tree indent no further, so that a line's
// length does not grow with the depth.
constexpr int MaxIndent = 40;

using Cells = std::vector<std::string>;
// Calls its argument with the cells of each line of a listing, in order.
using Lines = std::function<void(const std::function<void(Cells)>&)>;

// Columns of cells, aligned by their widths in characters; the last column
// is not padded. The lines are made twice, once to measure and once to
// write, so that no listing is held whole.
class Columns {
public:
    Columns(Cells titles, std::vector<bool> rightAligned) : titles(Shown(std::move(titles))), rightAligned(std::move(rightAligned)) {}

    void Write(std::ostream& out, const Lines& lines) {
        widths.assign(rightAligned.size(), 0);
        Measure(titles);
        lines([&](Cells cells) { Measure(Shown(std::move(cells))); });
        WriteLine(out, titles);
        Cells rule;
        for (size_t width : widths) rule.push_back(std::string(width, '-'));
        WriteLine(out, rule);
        lines([&](Cells cells) { WriteLine(out, Shown(std::move(cells))); });
    }

private:
    static Cells Shown(Cells cells) {
        for (std::string& cell : cells) cell = Printable(cell);
        return cells;
    }

    void Measure(const Cells& cells) {
        for (size_t c = 0; c < cells.size(); ++c) widths[c] = std::max(widths[c], Utf8Length(cells[c]));
    }

    void WriteLine(std::ostream& out, const Cells& cells) const {
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

    Cells titles;
    std::vector<bool> rightAligned;
    std::vector<size_t> widths;
};

// A table whose growth column, where the run compares with an earlier one,
// stands right-aligned at growthAt.
Columns TableOf(const ReportRun& run, Cells titles, std::vector<bool> right, size_t growthAt) {
    if (run.Growth()) {
        titles.insert(titles.begin() + growthAt, run.texts.growthColumn);
        right.insert(right.begin() + growthAt, true);
    }
    return Columns(std::move(titles), std::move(right));
}

void WriteOverview(const ReportRun& run, std::ostream& out) {
    const ReportTexts& t = run.texts;
    out << t.overviewHeading << "\n\n";
    const bool growth = run.Growth();
    Columns table = TableOf(run, {t.mailboxColumn, t.countColumn, t.sizeColumn, t.shareColumn, t.largestColumn},
                            {false, true, true, true, false}, 4);
    const uint64_t total = run.GetTotal();
    table.Write(out, [&](const std::function<void(Cells)>& line) {
        for (size_t m : run.ranked) {
            const MailboxReport& mailbox = run.mailboxes[m];
            size_t largest = Overview::Largest(mailbox);
            std::string folder;
            if (largest != Overview::None) {
                const FolderInfo& record = mailbox.rows[largest].record;
                folder = Utf8FromFileName(record.fileName) + " (" + run.Size(record.size) + ")";
            }
            if (!mailbox.Counted()) folder = run.GoneMark(mailbox);
            Cells cells{ReportRun::PathText(mailbox), std::to_string(mailbox.count), run.Size(mailbox.total),
                        mailbox.Counted() ? t.Share(Overview::Permille(mailbox.total, total)) : std::string(), folder};
            if (growth) cells.insert(cells.begin() + 4, run.OverviewGrowth(mailbox));
            line(std::move(cells));
        }
    });
}

void WriteTop(const ReportRun& run, std::ostream& out) {
    const ReportTexts& t = run.texts;
    out << run.TopHeading() << "\n\n";
    const bool growth = run.Growth();
    Columns table = TableOf(run,
                            {t.mailboxColumn, t.fileNameColumn, t.sizeColumn, t.shareColumn, t.folderNameColumn},
                            {false, false, true, true, false}, 4);
    const uint64_t total = run.GetTotal();
    table.Write(out, [&](const std::function<void(Cells)>& line) {
        for (const Overview::TopRow& top : run.top) {
            const MailboxReport& mailbox = run.mailboxes[top.mailbox];
            const ReportRow& row = mailbox.rows[top.row];
            Cells cells{ReportRun::PathText(mailbox), Utf8FromFileName(row.record.fileName), run.Size(row.record.size),
                        t.Share(Overview::Permille(row.record.size, total)), ShownName(row)};
            if (growth) cells.insert(cells.begin() + 4, run.GrowthText(mailbox, row));
            line(std::move(cells));
        }
    });
}

void WriteRows(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    const ReportTexts& t = run.texts;
    const bool growth = run.Growth();
    Columns table = TableOf(run, {t.fileNameColumn, t.sizeColumn, t.shareColumn, t.folderNameColumn},
                            {false, true, true, false}, 3);
    table.Write(out, [&](const std::function<void(Cells)>& line) {
        for (const ReportRow& row : mailbox.rows) {
            if (!run.Listed(row)) continue;
            Cells cells{Utf8FromFileName(row.record.fileName), run.Size(row.record.size),
                        t.Share(ReportRun::Share(mailbox, row)), ShownName(row)};
            if (growth) cells.insert(cells.begin() + 3, run.GrowthText(mailbox, row));
            line(std::move(cells));
        }
    });
}

// A node smaller than --min-size is left out with everything below it,
// which is smaller still.
void WriteTree(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    const ReportTexts& t = run.texts;
    Columns table({t.treeFolderColumn, t.ownSizeColumn, t.cumulativeColumn, t.filesColumn}, {false, true, true, false});
    const auto& nodes = mailbox.tree.Nodes();
    const std::vector<int> listing = mailbox.tree.Listing();
    table.Write(out, [&](const std::function<void(Cells)>& line) {
        for (int id : listing) {
            const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
            if (node.cumulative < run.options.minSize) continue;
            const std::string files = mailbox.FilesOf(id);
            std::string indent(2 * static_cast<size_t>(std::min(node.depth - 1, MaxIndent)), ' ');
            line({indent + Utf8FromCp1252(node.name), run.Size(node.own), run.Size(node.cumulative), files});
        }
    });
}

void WriteGrowth(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    out << run.GrowthLine(mailbox) << '\n';
    for (const std::string& line : run.RemovedLines(mailbox)) out << Printable(line) << '\n';
}

void WriteFindings(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    if (mailbox.findings.empty()) {
        out << run.texts.noFindings << '\n';
        return;
    }
    out << run.texts.findingsHeading << '\n';
    for (const Finding& finding : mailbox.findings) out << "  " << Printable(finding.Describe(run.texts)) << '\n';
}

void WriteMailbox(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    const ReportTexts& t = run.texts;
    out << Printable(ReportTexts::Fill(t.mailboxHeading, {ReportRun::PathText(mailbox)})) << "\n";
    const std::string recorded = run.RecordedLine(mailbox);
    if (!recorded.empty()) out << recorded << '\n';
    out << '\n';
    const bool listed = run.options.top == 0;
    if (listed && run.options.tree)
        WriteTree(run, mailbox, out);
    else if (listed)
        WriteRows(run, mailbox, out);
    out << t.Summary(mailbox.count, mailbox.total) << '\n';
    if (listed && run.options.minSize > 0)
        out << ReportTexts::Fill(t.hiddenPattern, {std::to_string(run.Hidden(mailbox))}) << '\n';
    if (run.Growth()) WriteGrowth(run, mailbox, out);
    if (run.options.check) WriteFindings(run, mailbox, out);
}

}  // namespace

void TableWriter::Write(const ReportRun& run, std::ostream& out) const {
    out << run.GeneratedLine() << '\n';
    const std::string note = run.HistoryNote();
    if (!note.empty()) out << note << '\n';
    // Sections follow the heading lines, each after an empty line.
    auto section = [&] { out << '\n'; };
    if (run.ShowOverview()) {
        section();
        WriteOverview(run, out);
    }
    if (run.options.top > 0) {
        section();
        WriteTop(run, out);
    }
    for (const MailboxReport& mailbox : run.mailboxes) {
        if (!mailbox.readable) continue;
        section();
        WriteMailbox(run, mailbox, out);
    }
    if (run.mailboxes.size() > 1) {
        section();
        out << run.TotalLine() << '\n';
    }
}

namespace {

// Each mailbox's runs under its heading, with the change against the run
// before; times local.
void WriteTimeline(const HistoryListing& listing, std::ostream& out) {
    const ReportTexts& t = listing.texts;
    for (const MailboxTimeline& line : listing.timeline) {
        out << '\n' << ReportTexts::Fill(t.mailboxHeading, {line.mailbox}) << "\n\n";
        Columns table({t.recordedColumn, t.countColumn, t.sizeColumn, t.growthColumn}, {false, true, true, true});
        table.Write(out, [&](const std::function<void(Cells)>& row) {
            const MailboxTimeline::Point* before = nullptr;
            for (const MailboxTimeline::Point& point : line.points) {
                row({RunTime::Local(point.recordedAt), std::to_string(point.count),
                     t.Size(point.total, listing.options.compact),
                     before ? t.Change(before->total, point.total, listing.options.compact) : std::string()});
                before = &point;
            }
        });
    }
}

// Oldest first: when, where, what, the folder (from where to where for a
// move), its size and the size before.
void WriteChanges(const HistoryListing& listing, std::ostream& out) {
    const ReportTexts& t = listing.texts;
    out << '\n' << ReportTexts::Fill(t.changesHeading, {RunTime::Local(listing.since)}) << "\n\n";
    if (listing.changes.empty()) {
        out << t.noChanges << '\n';
        return;
    }
    auto size = [&](const std::optional<uint64_t>& bytes) {
        return bytes ? t.Size(*bytes, listing.options.compact) : std::string();
    };
    Columns table({t.recordedColumn, t.mailboxColumn, t.changeColumn, t.fileNameColumn, t.folderNameColumn,
                   t.sizeColumn, t.beforeColumn},
                  {false, false, false, false, false, true, true});
    table.Write(out, [&](const std::function<void(Cells)>& row) {
        for (const HistoryChange& change : listing.changes) {
            const std::string folder = change.kind == HistoryChange::Kind::Moved || change.kind == HistoryChange::Kind::MailboxRenamed
                                           ? change.from + " \u2192 " + change.to
                                           : change.folderPath + change.folderName;
            row({RunTime::Local(change.recordedAt), change.mailbox, t.changeNames[static_cast<size_t>(change.kind)],
                 change.fileName, folder, size(change.size), size(change.sizeBefore)});
        }
    });
}

}  // namespace

void TableWriter::Write(const HistoryListing& listing, std::ostream& out) const {
    out << ReportTexts::Fill(listing.texts.generatedPattern, {RunTime::Local(listing.generatedAt)}) << '\n';
    if (listing.options.timeline)
        WriteTimeline(listing, out);
    else
        WriteChanges(listing, out);
}
