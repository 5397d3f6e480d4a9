#include "report/page/MailboxData.h"

#include "report/model/ReportRun.h"
#include "report/page/FrontCoding.h"
#include "report/text/JsonStream.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "store/FolderCompare.h"
#include "store/SortRule.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace {

const std::vector<int> DisplayOrder = {FolderCompare::FileNameColumn, FolderCompare::SizeColumn,
                                       FolderCompare::FolderNameColumn};
constexpr uint64_t ExactInScript = (uint64_t{1} << 53) - 1;

std::string Text(const std::string& cp1252) { return Printable(Utf8FromCp1252(cp1252)); }

// Whether the script, which sees the shown name as text, can order it as the
// panel orders the bytes: not where a byte shows as U+FFFD.
bool ComesBack(const std::string& cp1252) {
    for (char c : cp1252) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) return false;
    }
    return true;
}

// The rows in the order of a column, ties broken as the panel breaks them.
std::vector<size_t> Sorted(const MailboxReport& mailbox, int column) {
    SortRule rule;
    rule.sortColumn = column;
    rule.tieMode = SortRule::FromLeftmost;
    std::vector<size_t> order(mailbox.rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return rule.Compare(mailbox.rows[a].record, mailbox.rows[b].record, DisplayOrder) < 0;
    });
    return order;
}

class Writer {
public:
    Writer(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out)
        : run(run), mailbox(mailbox), json(out, false, true), order(Sorted(mailbox, FolderCompare::FileNameColumn)) {}

    void Write() {
        json.BeginObject();
        json.Key("total");
        Size(mailbox.total);
        Tree();
        std::vector<std::string> names;
        names.reserve(order.size());
        for (size_t r : order) names.push_back(Printable(Utf8FromFileName(mailbox.rows[r].record.fileName)));
        json.Key("names");
        Texts(names);
        json.Key("sizes").BeginArray();
        for (size_t r : order) Size(mailbox.rows[r].record.size);
        json.EndArray();
        json.Key("nodes").BeginArray();
        for (size_t r : order) json.Number(rowNode[r]);
        json.EndArray();
        bool any = false;
        for (size_t k = 0; k < order.size(); ++k) {
            const ReportRow& row = mailbox.rows[order[k]];
            const std::string shown = Text(row.record.folderPath + row.record.folderName);
            if (shown == shownNames[rowNode[order[k]]]) continue;
            if (!any) json.Key("texts").BeginArray();
            any = true;
            json.Number(k);
            json.String(shown);
        }
        if (any) json.EndArray();
        FolderOrder();
        if (run.Growth()) Growth();
        json.EndObject();
    }

private:
    void Size(uint64_t bytes) {
        if (bytes <= ExactInScript)
            json.Number(bytes);
        else
            json.String(std::to_string(bytes));
    }

    void Texts(const std::vector<std::string>& texts) {
        const std::string coded = FrontCoding::Encode(texts);
        if (!coded.empty()) {
            json.String(coded);
            return;
        }
        json.BeginArray();
        for (const std::string& text : texts) json.String(text);
        json.EndArray();
    }

    // Small numbers as a string of base 36 digits, one each, and those of
    // a tree without branches (0, then 1 for each sibling) as their count;
    // else an array.
    void Steps(const std::vector<uint64_t>& values) {
        bool flat = true;
        for (size_t k = 0; k < values.size() && flat; ++k) flat = values[k] == (k == 0 ? 0 : 1);
        if (flat) {
            json.Number(values.size());
            return;
        }
        if (std::all_of(values.begin(), values.end(), [](uint64_t v) { return v < 36; })) {
            std::string digits;
            for (uint64_t v : values) digits += static_cast<char>(v < 10 ? '0' + v : 'a' + (v - 10));
            json.String(digits);
            return;
        }
        json.BeginArray();
        for (uint64_t v : values) json.Number(v);
        json.EndArray();
    }

    // The nodes in the listing's order, and each row's node. A node's
    // children's shown names start with what their rows say they start
    // with, where that is not the node's own shown name and a backslash: the
    // mailbox's root entry, whose name no path holds, and the tops of paths
    // that the hierarchy could not follow.
    void Tree() {
        const std::vector<FolderTree::Node>& nodes = mailbox.tree.Nodes();
        const std::vector<int> listing = mailbox.tree.Listing();
        std::vector<size_t> place(nodes.size(), 0);
        for (size_t k = 0; k < listing.size(); ++k) place[static_cast<size_t>(listing[k])] = k + 1;
        rowNode.assign(mailbox.rows.size(), 0);
        shownNames.assign(listing.size() + 1, std::string());
        std::vector<std::string> prefix(listing.size() + 1), names;
        std::vector<std::pair<size_t, std::string>> prefixes;
        json.Key("tree").BeginObject();
        std::vector<uint64_t> up;
        int depth = 0;
        for (size_t k = 0; k < listing.size(); ++k) {
            const FolderTree::Node& node = nodes[static_cast<size_t>(listing[k])];
            up.push_back(static_cast<uint64_t>(depth + 1 - node.depth));
            depth = node.depth;
            names.push_back(Text(node.name));
            for (size_t r : mailbox.tree.RowsOf(listing[k])) rowNode[r] = k + 1;
            const size_t self = k + 1;
            shownNames[self] = prefix[place[static_cast<size_t>(node.parent)]] + names.back();
            prefix[self] = shownNames[self] + "\\";
            const std::string* told = ChildrenPrefix(node);
            if (told && *told != prefix[self]) {
                prefix[self] = *told;
                prefixes.emplace_back(self, *told);
            }
        }
        json.Key("up");
        Steps(up);
        json.Key("names");
        Texts(names);
        if (!prefixes.empty()) {
            json.Key("prefixes").BeginArray();
            for (const auto& told : prefixes) {
                json.Number(told.first);
                json.String(told.second);
            }
            json.EndArray();
        }
        json.EndObject();
    }

    // The path of the first row below the node that names the node its row
    // hangs on as the tree does; null when none does.
    const std::string* ChildrenPrefix(const FolderTree::Node& node) {
        const std::vector<FolderTree::Node>& nodes = mailbox.tree.Nodes();
        for (int child : node.children) {
            for (size_t r : mailbox.tree.RowsOf(child)) {
                const FolderInfo& record = mailbox.rows[r].record;
                if (record.folderName != nodes[static_cast<size_t>(child)].name) continue;
                told = Text(record.folderPath);
                return &told;
            }
        }
        return nullptr;
    }

    // The script orders shown names itself, unless one of them would come
    // back to it otherwise than the panel reads it.
    void FolderOrder() {
        bool back = true;
        for (const ReportRow& row : mailbox.rows)
            back = back && ComesBack(row.record.folderPath) && ComesBack(row.record.folderName);
        if (back) return;
        std::vector<size_t> byFolder = Sorted(mailbox, FolderCompare::FolderNameColumn), rank(mailbox.rows.size());
        for (size_t k = 0; k < byFolder.size(); ++k) rank[byFolder[k]] = k;
        json.Key("order").BeginArray();
        for (size_t r : order) json.Number(rank[r]);
        json.EndArray();
    }

    void Growth() {
        json.Key("compared").Bool(mailbox.hasEarlierState);
        if (!mailbox.hasEarlierState) return;
        std::map<std::string, size_t> dateIndex;
        std::vector<std::string> dates;
        json.Key("changes").BeginArray();
        size_t last = 0;
        for (size_t k = 0; k < order.size(); ++k) {
            const ReportRow& row = mailbox.rows[order[k]];
            if (!row.seenBefore || row.sizeBefore == row.record.size) continue;
            json.Number(k + 1 - last);
            last = k + 1;
            const int64_t change = MailboxReport::Change(row);
            if (change >= -static_cast<int64_t>(ExactInScript) && change <= static_cast<int64_t>(ExactInScript))
                json.Signed(change);
            else
                json.String(std::to_string(change));
        }
        json.EndArray();
        json.Key("added").BeginArray();
        last = 0;
        for (size_t k = 0; k < order.size(); ++k) {
            const ReportRow& row = mailbox.rows[order[k]];
            if (row.seenBefore) continue;
            json.Number(k + 1 - last);
            last = k + 1;
            const std::string& since = mailbox.FirstSeen(row);
            if (!run.options.historyGrowth || since.empty()) {
                json.Signed(-1);
                continue;
            }
            auto found = dateIndex.emplace(RunTime::LocalDate(since), dates.size());
            if (found.second) dates.push_back(found.first->first);
            json.Number(found.first->second);
        }
        json.EndArray();
        if (dates.empty()) return;
        json.Key("dates").BeginArray();
        for (const std::string& date : dates) json.String(date);
        json.EndArray();
    }

    const ReportRun& run;
    const MailboxReport& mailbox;
    JsonStream json;
    const std::vector<size_t> order;  // the rows by file name
    std::vector<size_t> rowNode;      // by row: its node's place in the listing, 1-based
    std::vector<std::string> shownNames;  // by node's place: its shown name
    std::string told;
};

}  // namespace

void MailboxData::Write(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out) {
    Writer(run, mailbox, out).Write();
}
