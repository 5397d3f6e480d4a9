#include "report/writers/JsonWriter.h"

#include "report/model/HistoryListing.h"
#include "report/model/ReportRun.h"
#include "report/text/JsonStream.h"
#include "report/text/Utf8.h"

#ifndef FOLDSCAN_VERSION
#define FOLDSCAN_VERSION "0"
#endif

namespace {

class Document {
public:
    Document(const ReportRun& run, std::ostream& out) : run(run), json(out) {}

    void Write() {
        json.BeginObject();
        json.Key("program").String("foldscan-report");
        json.Key("version").String(FOLDSCAN_VERSION);
        json.Key("language").String(run.texts.GetLanguage() == Language::German ? "de" : "en");
        json.Key("generatedAt").String(run.generatedAt);
        const std::string note = run.HistoryNote();
        if (!note.empty()) json.Key("note").String(note);
        Overview();
        if (run.options.top > 0) Top();
        json.Key("mailboxes").BeginArray();
        for (const MailboxReport& mailbox : run.mailboxes) Mailbox(mailbox);
        json.EndArray();
        json.Key("total").BeginObject();
        SummaryMembers(run.GetCount(), run.GetTotal());
        if (run.Growth() && run.AnyCompared()) json.Key("growth").Signed(run.TotalGrowth());
        json.EndObject();
        json.EndObject();
    }

private:
    void Texts(const std::vector<std::string>& parts, std::string (*convert)(const std::string&) = Utf8FromCp1252) {
        json.BeginArray();
        for (const std::string& part : parts) json.String(convert(part));
        json.EndArray();
    }

    void Overview() {
        const uint64_t total = run.GetTotal();
        json.Key("overview").BeginArray();
        for (size_t m : run.ranked) {
            const MailboxReport& mailbox = run.mailboxes[m];
            json.BeginObject();
            json.Key("mailbox").String(ReportRun::PathText(mailbox));
            json.Key("count").Number(mailbox.count);
            json.Key("total").Number(mailbox.total);
            if (mailbox.Counted())
                json.Key("share").Fraction(Overview::Fraction(mailbox.total, total));
            else
                json.Key("share").Null();
            if (!mailbox.goneSince.empty()) json.Key("goneSince").String(mailbox.goneSince);
            if (run.Growth()) Compared(mailbox);
            json.Key("largest");
            size_t largest = Overview::Largest(mailbox);
            if (largest == Overview::None) {
                json.Null();
            } else {
                const ReportRow& row = mailbox.rows[largest];
                json.BeginObject();
                json.Key("fileName").String(Utf8FromFileName(row.record.fileName));
                json.Key("size").Number(row.record.size);
                json.Key("folder").String(ShownName(row));
                json.EndObject();
            }
            json.EndObject();
        }
        json.EndArray();
    }

    // The rows themselves, each with its mailbox, and its share of all.
    void Top() {
        const uint64_t total = run.GetTotal();
        json.Key("top").BeginArray();
        for (const Overview::TopRow& top : run.top) {
            const MailboxReport& mailbox = run.mailboxes[top.mailbox];
            const ReportRow& row = mailbox.rows[top.row];
            json.BeginObject();
            json.Key("mailbox").String(ReportRun::PathText(mailbox));
            RowMembers(mailbox, row);
            json.Key("shareOfAll").Fraction(Overview::Fraction(row.record.size, total));
            json.EndObject();
        }
        json.EndArray();
    }

    void RowMembers(const MailboxReport& mailbox, const ReportRow& row) {
        const FolderInfo& r = row.record;
        json.Key("fileName").String(Utf8FromFileName(r.fileName));
        json.Key("size").Number(r.size);
        json.Key("sizeText").String(run.Size(r.size));
        json.Key("share").Fraction(Overview::Fraction(r.size, mailbox.total));
        json.Key("folder").String(ShownName(row));
        json.Key("folderPath").String(Utf8FromCp1252(r.folderPath));
        json.Key("folderName").String(Utf8FromCp1252(r.folderName));
        json.Key("hierarchyKey").String(Utf8FromCp1252(r.hierarchyKey));
        json.Key("status").String(FolderStatusName(r.status));
        json.Key("kind").String(FolderKindName(row.kind));
        if (run.options.historyGrowth && mailbox.hasEarlierState) {
            json.Key("growth").Signed(MailboxReport::Change(row));
            if (!row.seenBefore) json.Key("firstSeen").String(mailbox.FirstSeen(row));
        }
        if (!run.options.stateFile.empty() && mailbox.hasEarlierState) {
            json.Key("sizeBefore");
            if (row.seenBefore)
                json.Number(row.sizeBefore);
            else
                json.Null();
            // As it always was: "+0" where nothing changed.
            json.Key("growthText").String(row.seenBefore ? run.texts.Change(row.sizeBefore, r.size, run.options.compact)
                                                         : run.texts.added);
        }
    }

    void Mailbox(const MailboxReport& mailbox) {
        json.BeginObject();
        json.Key("mailbox").String(ReportRun::PathText(mailbox));
        json.Key("readable").Bool(mailbox.readable);
        if (!mailbox.recordedAt.empty()) {
            json.Key("recordedAt").String(mailbox.recordedAt);
            json.Key("foundInLatestRun").Bool(mailbox.goneSince.empty());
            if (!mailbox.goneSince.empty()) json.Key("goneSince").String(mailbox.goneSince);
        }
        if (mailbox.readable) {
            json.Key("hierarchyRead").Bool(mailbox.hierarchyRead);
            SummaryMembers(mailbox.count, mailbox.total);
            if (run.options.minSize > 0) json.Key("hidden").Number(run.Hidden(mailbox));
            json.Key("rows").BeginArray();
            for (const ReportRow& row : mailbox.rows) {
                if (!run.Listed(row)) continue;
                json.BeginObject();
                RowMembers(mailbox, row);
                json.EndObject();
            }
            json.EndArray();
            if (run.options.tree) Tree(mailbox);
            if (run.options.check) Findings(mailbox);
            if (!run.options.stateFile.empty()) Growth(mailbox);
            if (run.options.historyGrowth) HistoryGrowth(mailbox);
        }
        json.EndObject();
    }

    // The folders gone since the earlier run, each with its size then, and
    // from the history the folder path and name it had.
    void Removed(const MailboxReport& mailbox, const char* sizeKey) {
        json.Key("removed").BeginArray();
        for (const MailboxReport::RemovedFolder& folder : mailbox.removedFolders) {
            json.BeginObject();
            json.Key("fileName").String(folder.fileName);
            json.Key(sizeKey).Number(folder.size);
            if (folder.described) {
                json.Key("folderPath").String(folder.folderPath);
                json.Key("folderName").String(folder.folderName);
            }
            json.EndObject();
        }
        json.EndArray();
    }

    // Growth since a run of the history: its start (UTC), or null when
    // there was none, the change of the total and the folders gone since.
    void HistoryGrowth(const MailboxReport& mailbox) {
        json.Key("growthSince");
        if (!mailbox.hasEarlierState) {
            json.Null();
            return;
        }
        json.String(mailbox.earlierTime);
        json.Key("totalGrowth").Signed(mailbox.TotalChange());
        Removed(mailbox, "size");
        json.Key("moved").BeginArray();
        for (const MailboxReport::MovedFolder& folder : mailbox.movedFolders) {
            json.BeginObject();
            json.Key("fileName").String(folder.fileName);
            json.Key("from").String(folder.from);
            json.Key("to").String(folder.to);
            json.EndObject();
        }
        json.EndArray();
    }

    // An overview entry's growth and the run it was compared with; null
    // for both where there is none.
    void Compared(const MailboxReport& mailbox) {
        json.Key("growth");
        if (mailbox.hasEarlierState)
            json.Signed(mailbox.TotalChange());
        else
            json.Null();
        json.Key("comparedWith");
        if (mailbox.hasEarlierState)
            json.String(mailbox.earlierTime);
        else
            json.Null();
    }

    void Tree(const MailboxReport& mailbox) {
        json.Key("tree").BeginArray();
        const auto& nodes = mailbox.tree.Nodes();
        for (size_t id = 0; id < nodes.size(); ++id) {
            const FolderTree::Node& node = nodes[id];
            json.BeginObject();
            json.Key("id").Number(id);
            json.Key("parent").Signed(node.parent);
            json.Key("depth").Signed(node.depth);
            json.Key("name").String(Utf8FromCp1252(node.name));
            json.Key("hierarchyKey").String(Utf8FromCp1252(node.key));
            json.Key("own").Number(node.own);
            json.Key("cumulative").Number(node.cumulative);
            json.Key("files").BeginArray();
            for (size_t r : mailbox.tree.RowsOf(static_cast<int>(id)))
                json.String(Utf8FromFileName(mailbox.rows[r].record.fileName));
            json.EndArray();
            json.Key("children").BeginArray();
            for (int child : node.children) json.Signed(child);
            json.EndArray();
            json.EndObject();
        }
        json.EndArray();
    }

    void Findings(const MailboxReport& mailbox) {
        json.Key("findings").BeginArray();
        for (const Finding& finding : mailbox.findings) {
            json.BeginObject();
            json.Key("kind").String(FindingKindName(finding.kind));
            json.Key("files");
            Texts(finding.files, Utf8FromFileName);
            json.Key("keys");
            Texts(finding.keys);
            json.Key("text").String(finding.Describe(run.texts));
            json.EndObject();
        }
        json.EndArray();
    }

    void Growth(const MailboxReport& mailbox) {
        json.Key("growth").BeginObject();
        json.Key("earlierState").Bool(mailbox.hasEarlierState);
        if (mailbox.hasEarlierState) {
            json.Key("since").String(mailbox.earlierTime);
            json.Key("totalBefore").Number(mailbox.earlierTotal);
            json.Key("change").Signed(mailbox.TotalChange());
            Removed(mailbox, "sizeBefore");
        }
        json.EndObject();
    }

    void SummaryMembers(uint64_t count, uint64_t total) {
        json.Key("count").Number(count);
        json.Key("total").Number(total);
        json.Key("totalText").String(run.texts.Size(total, true));
        json.Key("totalExact").String(run.texts.Size(total, false));
        json.Key("summary").String(run.texts.Summary(count, total));
    }

    const ReportRun& run;
    JsonStream json;
};

}  // namespace

void JsonWriter::Write(const ReportRun& run, std::ostream& out) const { Document(run, out).Write(); }

// {"timeline": [{"mailbox", "points": [{"recordedAt", "count", "total"}]}]}
// or {"changes": [{"recordedAt", "mailbox", "change", ...}]}, the keys of a
// change without a value left out; after the lines every document begins with.
void JsonWriter::Write(const HistoryListing& listing, std::ostream& out) const {
    JsonStream json(out);
    json.BeginObject();
    json.Key("program").String("foldscan-report");
    json.Key("version").String(FOLDSCAN_VERSION);
    json.Key("generatedAt").String(listing.generatedAt);
    if (listing.options.timeline) {
        json.Key("timeline").BeginArray();
        for (const MailboxTimeline& line : listing.timeline) {
            json.BeginObject();
            json.Key("mailbox").String(line.mailbox);
            json.Key("points").BeginArray();
            for (const MailboxTimeline::Point& point : line.points) {
                json.BeginObject();
                json.Key("recordedAt").String(point.recordedAt);
                json.Key("count").Number(point.count);
                json.Key("total").Number(point.total);
                json.EndObject();
            }
            json.EndArray();
            json.EndObject();
        }
    } else {
        json.Key("changes").BeginArray();
        for (const HistoryChange& change : listing.changes) {
            json.BeginObject();
            json.Key("recordedAt").String(change.recordedAt);
            json.Key("mailbox").String(change.mailbox);
            json.Key("change").String(HistoryChange::Name(change.kind));
            const std::pair<const char*, const std::string*> texts[] = {
                {"fileName", &change.fileName}, {"folderPath", &change.folderPath}, {"folderName", &change.folderName}};
            for (const auto& [key, text] : texts)
                if (!text->empty()) json.Key(key).String(*text);
            if (change.size) json.Key("size").Number(*change.size);
            if (change.sizeBefore) json.Key("sizeBefore").Number(*change.sizeBefore);
            if (!change.from.empty()) json.Key("from").String(change.from);
            if (!change.to.empty()) json.Key("to").String(change.to);
            json.EndObject();
        }
    }
    json.EndArray();
    json.EndObject();
}
