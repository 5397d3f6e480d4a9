#include "report/DelimitedWriter.h"

#include "report/ReportRun.h"
#include "report/Utf8.h"

namespace {

std::string Signed(uint64_t before, uint64_t now) {
    return now < before ? "-" + std::to_string(before - now) : std::to_string(now - before);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : ", ") + Utf8FromCp1252(part);
    return out;
}

}  // namespace

std::string DelimitedWriter::Field(const std::string& text) const {
    std::string out;
    if (style == Style::Tsv) {
        for (char c : text) {
            if (c == '\t' || c == '\n' || c == '\r')
                out += "\uFFFD";
            else
                out += c;
        }
        return out;
    }
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    out = "\"";
    for (char c : text) out += c == '"' ? "\"\"" : std::string(1, c);
    return out + "\"";
}

void DelimitedWriter::Line(std::ostream& out, const std::vector<std::string>& fields) const {
    const char* separator = style == Style::Csv ? "," : "\t";
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? separator : "") + Field(fields[i]);
    out << line << (style == Style::Csv ? "\r\n" : "\n");
}

void DelimitedWriter::Write(const ReportRun& run, std::ostream& out) const {
    if (run.options.check)
        Findings(run, out);
    else if (run.options.tree)
        Tree(run, out);
    else
        Rows(run, out);
}

// With --since: the size the earlier run saw, and the change since; a new
// folder changes by its whole size, a removed one has no size now.
void DelimitedWriter::Rows(const ReportRun& run, std::ostream& out) const {
    const bool growth = run.Growth();
    std::vector<std::string> head{"mailbox", "file_name", "size", "size_text", "folder", "folder_path",
                                  "folder_name", "hierarchy_key", "status", "kind"};
    if (growth) head.insert(head.end(), {"size_before", "change"});
    Line(out, head);
    for (const MailboxReport& mailbox : run.mailboxes) {
        std::string path = ReportRun::PathText(mailbox);
        for (const ReportRow& row : mailbox.rows) {
            const FolderInfo& r = row.record;
            std::vector<std::string> fields{path, Utf8FromCp1252(r.fileName), std::to_string(r.size), run.Size(r.size),
                                            ShownName(row), Utf8FromCp1252(r.folderPath), Utf8FromCp1252(r.folderName),
                                            Utf8FromCp1252(r.hierarchyKey), FolderStatusName(r.status),
                                            RowKindName(row.kind)};
            if (growth) {
                fields.push_back(row.seenBefore ? std::to_string(row.sizeBefore) : "");
                fields.push_back(!mailbox.hasEarlierState ? ""
                                                          : Signed(row.seenBefore ? row.sizeBefore : 0, r.size));
            }
            Line(out, fields);
        }
        if (!growth) continue;
        for (const auto& [name, size] : mailbox.removedFolders)
            Line(out, {path, Utf8FromCp1252(name), "", "", "", "", "", "", "removed", "", std::to_string(size),
                       Signed(size, 0)});
    }
}

void DelimitedWriter::Tree(const ReportRun& run, std::ostream& out) const {
    Line(out, {"mailbox", "node", "parent", "depth", "folder", "hierarchy_key", "own", "cumulative", "files"});
    for (const MailboxReport& mailbox : run.mailboxes) {
        std::string path = ReportRun::PathText(mailbox);
        const auto& nodes = mailbox.tree.Nodes();
        for (int id : mailbox.tree.Listing()) {
            const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
            std::vector<std::string> files;
            for (size_t r : node.rows) files.push_back(mailbox.rows[r].record.fileName);
            Line(out, {path, std::to_string(id), std::to_string(node.parent), std::to_string(node.depth),
                       Utf8FromCp1252(node.name), Utf8FromCp1252(node.key), std::to_string(node.own),
                       std::to_string(node.cumulative), Joined(files)});
        }
    }
}

void DelimitedWriter::Findings(const ReportRun& run, std::ostream& out) const {
    Line(out, {"mailbox", "finding", "files", "keys", "text"});
    for (const MailboxReport& mailbox : run.mailboxes) {
        std::string path = ReportRun::PathText(mailbox);
        for (const Finding& finding : mailbox.findings)
            Line(out, {path, FindingKindName(finding.kind), Joined(finding.files), Joined(finding.keys),
                       run.texts.Describe(finding)});
    }
}
