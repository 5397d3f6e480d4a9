#include "report/JsonWriter.h"

#include "report/ReportRun.h"
#include "report/Utf8.h"

#include <nlohmann/json.hpp>

#ifndef FOLDSCAN_VERSION
#define FOLDSCAN_VERSION "0"
#endif

namespace {

using Json = nlohmann::ordered_json;

Json Texts(const std::vector<std::string>& parts) {
    Json list = Json::array();
    for (const std::string& part : parts) list.push_back(Utf8FromCp1252(part));
    return list;
}

Json Row(const ReportRun& run, const MailboxReport& mailbox, const ReportRow& row) {
    const FolderInfo& r = row.record;
    Json json;
    json["fileName"] = Utf8FromCp1252(r.fileName);
    json["size"] = r.size;
    json["sizeText"] = run.Size(r.size);
    json["folder"] = ShownName(row);
    json["folderPath"] = Utf8FromCp1252(r.folderPath);
    json["folderName"] = Utf8FromCp1252(r.folderName);
    json["hierarchyKey"] = Utf8FromCp1252(r.hierarchyKey);
    json["status"] = FolderStatusName(r.status);
    json["kind"] = RowKindName(row.kind);
    if (run.Growth() && mailbox.hasEarlierState) {
        json["sizeBefore"] = row.seenBefore ? Json(row.sizeBefore) : Json(nullptr);
        json["growthText"] = run.GrowthText(mailbox, row);
    }
    return json;
}

Json Tree(const MailboxReport& mailbox) {
    Json nodes = Json::array();
    const auto& all = mailbox.tree.Nodes();
    for (size_t id = 0; id < all.size(); ++id) {
        const FolderTree::Node& node = all[id];
        std::vector<std::string> files;
        for (size_t r : node.rows) files.push_back(mailbox.rows[r].record.fileName);
        Json json;
        json["id"] = id;
        json["parent"] = node.parent;
        json["depth"] = node.depth;
        json["name"] = Utf8FromCp1252(node.name);
        json["hierarchyKey"] = Utf8FromCp1252(node.key);
        json["own"] = node.own;
        json["cumulative"] = node.cumulative;
        json["files"] = Texts(files);
        json["children"] = node.children;
        nodes.push_back(std::move(json));
    }
    return nodes;
}

Json Findings(const ReportRun& run, const MailboxReport& mailbox) {
    Json list = Json::array();
    for (const Finding& finding : mailbox.findings) {
        Json json;
        json["kind"] = FindingKindName(finding.kind);
        json["files"] = Texts(finding.files);
        json["keys"] = Texts(finding.keys);
        json["text"] = run.texts.Describe(finding);
        list.push_back(std::move(json));
    }
    return list;
}

Json Growth(const ReportRun& run, const MailboxReport& mailbox) {
    Json json;
    json["earlierState"] = mailbox.hasEarlierState;
    if (!mailbox.hasEarlierState) return json;
    json["since"] = mailbox.earlierTime;
    json["totalBefore"] = mailbox.earlierTotal;
    json["change"] = mailbox.total < mailbox.earlierTotal ? -static_cast<int64_t>(mailbox.earlierTotal - mailbox.total)
                                                          : static_cast<int64_t>(mailbox.total - mailbox.earlierTotal);
    Json removed = Json::array();
    for (const auto& [name, size] : mailbox.removedFolders) removed.push_back({{"fileName", Utf8FromCp1252(name)}, {"sizeBefore", size}});
    json["removed"] = std::move(removed);
    return json;
}

Json Summary(const ReportRun& run, uint64_t count, uint64_t total) {
    Json json;
    json["count"] = count;
    json["total"] = total;
    json["totalText"] = run.texts.Size(total, true);
    json["totalExact"] = run.texts.Size(total, false);
    json["summary"] = run.texts.Summary(count, total);
    return json;
}

}  // namespace

void JsonWriter::Write(const ReportRun& run, std::ostream& out) const {
    Json doc;
    doc["program"] = "foldscan-report";
    doc["version"] = FOLDSCAN_VERSION;
    doc["language"] = run.texts.GetLanguage() == Language::German ? "de" : "en";
    Json mailboxes = Json::array();
    for (const MailboxReport& mailbox : run.mailboxes) {
        Json json;
        json["mailbox"] = ReportRun::PathText(mailbox);
        json["readable"] = mailbox.readable;
        if (mailbox.readable) {
            json["hierarchyRead"] = mailbox.hierarchyRead;
            json.update(Summary(run, mailbox.count, mailbox.total));
            Json rows = Json::array();
            for (const ReportRow& row : mailbox.rows) rows.push_back(Row(run, mailbox, row));
            json["rows"] = std::move(rows);
            if (run.options.tree) json["tree"] = Tree(mailbox);
            if (run.options.check) json["findings"] = Findings(run, mailbox);
            if (run.Growth()) json["growth"] = Growth(run, mailbox);
        }
        mailboxes.push_back(std::move(json));
    }
    doc["mailboxes"] = std::move(mailboxes);
    doc["total"] = Summary(run, run.Count(), run.Total());
    out << doc.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}
