#include "report/writers/DelimitedWriter.h"

#include "report/model/HistoryListing.h"
#include "report/model/ReportRun.h"
#include "report/text/Utf8.h"

namespace {

std::string Signed(uint64_t before, uint64_t now) {
    return now < before ? "-" + std::to_string(before - now) : std::to_string(now - before);
}

// A change in per cent with the language's decimal mark: "+3,4", "-12.0";
// without the plus where a spreadsheet would take it for text.
std::string SignedPercent(const ReportRun& run, int64_t permille, bool plus) {
    std::string text = run.texts.SignedShare(permille);
    text = text.substr(0, text.find_first_of(" %"));
    return !plus && text[0] == '+' ? text.substr(1) : text;
}

// When a folder the earlier run did not see came (UTC); empty for the others.
std::string FirstSeen(const MailboxReport& mailbox, const ReportRow& row) {
    return mailbox.hasEarlierState && !row.seenBefore ? mailbox.FirstSeen(row) : std::string();
}

}  // namespace

// The apostrophe before a formula needs no quotes of its own.
void DelimitedWriter::AppendField(std::string& line, const std::string& text) const {
    if (style == Style::Tsv) return AppendPrintable(line, text);
    const bool excel = style == Style::Excel;
    const bool quoted = text.find_first_of(excel ? ";\"\r\n" : ",\"\r\n") != std::string::npos;
    if (quoted) line += '"';
    if (excel && RunsAsFormula(text)) line += '\'';
    for (char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    if (quoted) line += '"';
}

// A number (a size, a signed change, a share) is left as it is.
bool DelimitedWriter::RunsAsFormula(const std::string& text) {
    if (text.empty() || std::string("=+-@\t\r").find(text[0]) == std::string::npos) return false;
    size_t i = text[0] == '-' ? 1 : 0, digits = 0, marks = 0;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if ((text[i] == ',' || text[i] == '.') && ++marks == 1 && digits > 0)
            continue;
        else
            return true;
    }
    return digits == 0 || !(text.back() >= '0' && text.back() <= '9');
}

const char* DelimitedWriter::LineEnd() const { return style == Style::Tsv ? "\n" : "\r\n"; }

void DelimitedWriter::Add(const std::string& utf8) const {
    if (fieldsInLine++ > 0) line += style == Style::Csv ? ',' : (style == Style::Excel ? ';' : '\t');
    AppendField(line, utf8);
}

// Plain ASCII, as most names are, needs no conversion, and in TSV no
// replacement either: it goes into the line as it is.
void DelimitedWriter::AddFileName(const std::string& name) const {
    if (PlainAscii(name))
        AddStoreText(name);
    else
        Add(Utf8FromFileName(name));
}

void DelimitedWriter::AddStoreText(const std::string& cp1252, const std::string& more) const {
    if (style == Style::Tsv && PlainAscii(cp1252) && PlainAscii(more)) {
        if (fieldsInLine++ > 0) line += '\t';
        line.append(cp1252).append(more);
        return;
    }
    const std::string text = cp1252 + more;
    if (PlainAscii(text))
        Add(text);
    else
        Add(Utf8FromCp1252(text));
}

void DelimitedWriter::EndLine(std::ostream& out) const {
    line += LineEnd();
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    line.clear();
    fieldsInLine = 0;
}

void DelimitedWriter::Line(std::ostream& out, const std::vector<std::string>& fields) const {
    for (const std::string& field : fields) Add(field);
    EndLine(out);
}

void DelimitedWriter::Write(const ReportRun& run, std::ostream& out) const {
    if (style == Style::Excel) out << "\xEF\xBB\xBF";
    if (style != Style::Tsv) Heading(run, out);
    if (run.ShowOverview()) {
        Overview(run, out);
        out << LineEnd();
    }
    if (run.options.check)
        Findings(run, out);
    else if (run.options.tree)
        Tree(run, out);
    else if (run.options.top > 0)
        Top(run, out);
    else
        Rows(run, out);
}

// The lines a spreadsheet shows above the tables: when the output was made
// (local time), and the note on a history shorter than asked for.
void DelimitedWriter::Heading(const ReportRun& run, std::ostream& out) const {
    Line(out, {run.GeneratedLine()});
    const std::string note = run.HistoryNote();
    if (!note.empty()) Line(out, {note});
    out << LineEnd();
}

// With growth: the change of the total in bytes and in per cent of the
// earlier total, and when that run started (UTC); empty where there is none.
void DelimitedWriter::Overview(const ReportRun& run, std::ostream& out) const {
    std::vector<std::string> head{"mailbox",           "count",        "total",         "share_percent",
                                  "largest_file_name", "largest_size", "largest_folder"};
    if (run.Growth()) head.insert(head.end(), {"growth", "growth_percent", "compared_with"});
    const bool recorded = !run.options.fromHistory.empty();
    if (recorded) head.push_back("gone_since");
    Line(out, head);
    const uint64_t total = run.GetTotal();
    for (size_t m : run.ranked) {
        const MailboxReport& mailbox = run.mailboxes[m];
        const std::string share =
            mailbox.Counted() ? run.texts.Share(Overview::Permille(mailbox.total, total), false) : std::string();
        std::vector<std::string> fields{ReportRun::PathText(mailbox), std::to_string(mailbox.count),
                                        std::to_string(mailbox.total), share, "", "", ""};
        size_t largest = Overview::Largest(mailbox);
        if (largest != Overview::None) {
            const ReportRow& row = mailbox.rows[largest];
            fields[4] = Utf8FromFileName(row.record.fileName);
            fields[5] = std::to_string(row.record.size);
            fields[6] = ShownName(row);
        }
        if (run.Growth()) {
            int64_t permille = 0;
            const bool compared = mailbox.hasEarlierState;
            const bool percent = compared && Overview::ChangePermille(mailbox.earlierTotal, mailbox.total, permille);
            fields.push_back(compared ? Signed(mailbox.earlierTotal, mailbox.total) : "");
            fields.push_back(percent ? SignedPercent(run, permille, style != Style::Excel) : "");
            fields.push_back(compared ? mailbox.earlierTime : "");
        }
        if (recorded) fields.push_back(mailbox.goneSince);
        Line(out, fields);
    }
}

void DelimitedWriter::AddRow(const ReportRun& run, const std::string& path, const MailboxReport& mailbox,
                             const ReportRow& row) const {
    const FolderInfo& r = row.record;
    Add(path);
    AddFileName(r.fileName);
    Add(std::to_string(r.size));
    Add(run.Size(r.size));
    AddStoreText(r.folderPath, r.folderName);  // the shown name
    AddStoreText(r.folderPath);
    AddStoreText(r.folderName);
    AddStoreText(r.hierarchyKey);
    Add(FolderStatusName(r.status));
    Add(FolderKindName(row.kind));
    Add(run.texts.Share(ReportRun::Share(mailbox, row), false));
}

const std::vector<std::string>& DelimitedWriter::RowHead() {
    static const std::vector<std::string> head{"mailbox", "file_name", "size", "size_text", "folder", "folder_path",
                                               "folder_name", "hierarchy_key", "status", "kind", "share_percent"};
    return head;
}

// The rows table's columns, the share then of the grand total, and with
// growth the change.
void DelimitedWriter::Top(const ReportRun& run, std::ostream& out) const {
    std::vector<std::string> head = RowHead();
    head.push_back("share_of_all_percent");
    if (run.Growth()) head.insert(head.end(), {"change", "first_seen"});
    Line(out, head);
    const uint64_t total = run.GetTotal();
    for (const Overview::TopRow& top : run.top) {
        const MailboxReport& mailbox = run.mailboxes[top.mailbox];
        const ReportRow& row = mailbox.rows[top.row];
        AddRow(run, ReportRun::PathText(mailbox), mailbox, row);
        Add(run.texts.Share(Overview::Permille(row.record.size, total), false));
        if (run.Growth()) {
            Add(!mailbox.hasEarlierState ? "" : Signed(row.seenBefore ? row.sizeBefore : 0, row.record.size));
            Add(FirstSeen(mailbox, row));
        }
        EndLine(out);
    }
}

// With --since: the size the earlier run saw, and the change since; a new
// folder changes by its whole size, a removed one has no size now.
void DelimitedWriter::Rows(const ReportRun& run, std::ostream& out) const {
    const bool growth = run.Growth();
    std::vector<std::string> head = RowHead();
    if (growth) head.insert(head.end(), {"size_before", "change", "first_seen"});
    Line(out, head);
    for (const MailboxReport& mailbox : run.mailboxes) {
        std::string path = ReportRun::PathText(mailbox);
        for (const ReportRow& row : mailbox.rows) {
            if (!run.Listed(row)) continue;
            const FolderInfo& r = row.record;
            AddRow(run, path, mailbox, row);
            if (growth) {
                Add(row.seenBefore ? std::to_string(row.sizeBefore) : "");
                Add(!mailbox.hasEarlierState ? "" : Signed(row.seenBefore ? row.sizeBefore : 0, r.size));
                Add(FirstSeen(mailbox, row));
            }
            EndLine(out);
        }
        if (!growth) continue;
        for (const MailboxReport::RemovedFolder& folder : mailbox.removedFolders)
            Line(out, {path, folder.fileName, "", "", folder.folderPath + folder.folderName, folder.folderPath,
                       folder.folderName, "", "removed", "", "", std::to_string(folder.size), Signed(folder.size, 0), ""});
    }
}

void DelimitedWriter::Tree(const ReportRun& run, std::ostream& out) const {
    Line(out, {"mailbox", "node", "parent", "depth", "folder", "hierarchy_key", "own", "cumulative", "files"});
    for (const MailboxReport& mailbox : run.mailboxes) {
        std::string path = ReportRun::PathText(mailbox);
        const auto& nodes = mailbox.tree.Nodes();
        for (int id : mailbox.tree.Listing()) {
            const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
            if (node.cumulative < run.options.minSize) continue;
            Line(out, {path, std::to_string(id), std::to_string(node.parent), std::to_string(node.depth),
                       Utf8FromCp1252(node.name), Utf8FromCp1252(node.key), std::to_string(node.own),
                       std::to_string(node.cumulative), mailbox.FilesOf(id)});
        }
    }
}

void DelimitedWriter::Findings(const ReportRun& run, std::ostream& out) const {
    Line(out, {"mailbox", "finding", "files", "keys", "text"});
    for (const MailboxReport& mailbox : run.mailboxes) {
        std::string path = ReportRun::PathText(mailbox);
        for (const Finding& finding : mailbox.findings)
            Line(out, {path, FindingKindName(finding.kind), Utf8Joined(finding.files, ", ", AppendUtf8FromFileName),
                       Utf8Joined(finding.keys, ", "), finding.Describe(run.texts)});
    }
}

void DelimitedWriter::Write(const HistoryListing& listing, std::ostream& out) const {
    if (style == Style::Excel) out << "\xEF\xBB\xBF";
    auto number = [](const std::optional<uint64_t>& value) { return value ? std::to_string(*value) : std::string(); };
    if (listing.options.timeline) {
        Line(out, {"mailbox", "recorded_at", "count", "total"});
        for (const MailboxTimeline& line : listing.timeline)
            for (const MailboxTimeline::Point& point : line.points)
                Line(out, {line.mailbox, point.recordedAt, std::to_string(point.count), std::to_string(point.total)});
        return;
    }
    Line(out, {"recorded_at", "mailbox", "change", "file_name", "folder_path", "folder_name", "size", "size_before",
               "from", "to"});
    for (const HistoryChange& change : listing.changes)
        Line(out, {change.recordedAt, change.mailbox, HistoryChange::Name(change.kind), change.fileName,
                   change.folderPath, change.folderName, number(change.size), number(change.sizeBefore), change.from,
                   change.to});
}
