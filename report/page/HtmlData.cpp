#include "report/page/HtmlData.h"

#include "report/text/JsonStream.h"
#include "report/text/RunTime.h"
#include "report/model/ReportRun.h"
#include "report/text/Utf8.h"
#include "store/FolderCompare.h"
#include "store/SortRule.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace {

// Each listed row's place in ascending order by each of the panel's
// columns, ties broken as the panel breaks them; with growth, a fourth by
// the change, then the folder name.
std::vector<std::vector<size_t>> Ranks(const MailboxReport& mailbox, const std::vector<size_t>& listed, bool growth) {
    const std::vector<int> display = {FolderCompare::FileNameColumn, FolderCompare::SizeColumn,
                                      FolderCompare::FolderNameColumn};
    auto record = [&](size_t k) -> const FolderInfo& { return mailbox.rows[listed[k]].record; };
    std::vector<std::vector<size_t>> ranks(growth ? 4 : 3, std::vector<size_t>(listed.size()));
    std::vector<size_t> order(listed.size());
    for (int column = 0; column < 3; ++column) {
        SortRule rule;
        rule.sortColumn = column;
        rule.tieMode = SortRule::FromLeftmost;
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return rule.Compare(record(a), record(b), display) < 0;
        });
        for (size_t k = 0; k < order.size(); ++k) ranks[static_cast<size_t>(column)][order[k]] = k;
    }
    if (growth) {
        auto change = [&](size_t k) {
            return mailbox.hasEarlierState ? MailboxReport::Change(mailbox.rows[listed[k]]) : 0;
        };
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            int64_t x = change(a), y = change(b);
            return x != y ? x < y : ranks[2][a] < ranks[2][b];
        });
        for (size_t k = 0; k < order.size(); ++k) ranks[3][order[k]] = k;
    }
    return ranks;
}

// Folder paths share their beginnings ("\Archiv\2024\" lies in "\Archiv\"),
// so each is kept once, as its parent path and the rest.
class PathTable {
public:
    explicit PathTable(JsonStream& json) : json(json) {}

    // Writes the path's entry, and its parents' first, unless they are
    // known already; the id.
    size_t Add(const std::string& path) {
        if (path.empty()) return 0;
        auto found = ids.find(path);
        if (found != ids.end()) return found->second;
        // The parent ends at the separator before the path's last one.
        size_t cut = path.size() >= 2 ? path.rfind('\\', path.size() - 2) : std::string::npos;
        size_t parent = cut == std::string::npos ? 0 : Add(path.substr(0, cut + 1));
        json.Number(parent);
        json.String(cut == std::string::npos ? path : path.substr(cut + 1));
        size_t id = ids.size() + 1;
        ids.emplace(path, id);
        return id;
    }

    size_t Id(const std::string& path) const {
        auto found = ids.find(path);
        return found == ids.end() ? 0 : found->second;
    }

private:
    JsonStream& json;
    std::map<std::string, size_t> ids;
};

class Writer {
public:
    Writer(const ReportRun& run, std::ostream& out) : run(run), json(out, false, true) {}

    void Write() {
        const ReportTexts& t = run.texts;
        const bool german = t.GetLanguage() == Language::German;
        json.BeginObject();
        json.Key("texts").BeginObject();
        json.Key("match").String(t.filterMatch);
        json.Key("matches").String(t.filterMatches);
        json.Key("shown").String(t.rowsShown);
        json.Key("more").String(t.moreRows);
        json.Key("all").String(t.allRows);
        json.EndObject();
        json.Key("lang").String(german ? "de" : "en");
        json.Key("decimal").String(german ? "," : ".");
        json.Key("percent").String(german ? " %" : "%");
        json.Key("growth").Bool(run.Growth());
        json.Key("paths").BeginArray();
        PathTable paths(json);
        if (run.options.top > 0) {
            for (const Overview::TopRow& top : run.top)
                paths.Add(Text(run.mailboxes[top.mailbox].rows[top.row].record.folderPath));
        } else {
            for (const MailboxReport& mailbox : run.mailboxes)
                for (const ReportRow& row : mailbox.rows)
                    if (run.Listed(row)) paths.Add(Text(row.record.folderPath));
        }
        json.EndArray();
        const std::vector<std::time_t> runs = Runs();
        json.Key("runs").BeginArray();
        for (std::time_t when : runs) json.Signed(static_cast<int64_t>(when));
        json.EndArray();
        json.Key("mailboxes").BeginArray();
        for (const MailboxReport& mailbox : run.mailboxes) Mailbox(mailbox, paths, runs);
        json.EndArray();
        json.Key("top").BeginArray();
        for (const Overview::TopRow& top : run.top) Top(top, paths);
        json.EndArray();
        json.EndObject();
    }

private:
    static std::string Text(const std::string& cp1252) { return Printable(Utf8FromCp1252(cp1252)); }
    static std::string FileName(const std::string& name) { return Printable(Utf8FromFileName(name)); }

    // The starts of every run in any mailbox's line of totals, in order, each
    // once: the lines name them by their place.
    std::vector<std::time_t> Runs() const {
        std::vector<std::time_t> runs;
        for (const MailboxReport& mailbox : run.mailboxes)
            for (const RecordedTotal& point : mailbox.series) runs.push_back(Seconds(point.started));
        std::sort(runs.begin(), runs.end());
        runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
        return runs;
    }

    static std::time_t Seconds(const std::string& utc) {
        std::time_t when = 0;
        RunTime::ParseUtc(utc, when);
        return when;
    }

    void Mailbox(const MailboxReport& mailbox, const PathTable& paths, const std::vector<std::time_t>& runs) {
        json.BeginObject();
        json.Key("path").String(Printable(ReportRun::PathText(mailbox)));
        json.Key("series").BeginArray();
        for (const RecordedTotal& point : mailbox.series) {
            json.Number(static_cast<uint64_t>(std::lower_bound(runs.begin(), runs.end(), Seconds(point.started)) -
                                              runs.begin()));
            json.Number(point.total);
        }
        json.EndArray();
        json.Key("rows").BeginArray();
        if (run.options.top == 0) {
            std::vector<size_t> listed;
            for (size_t r = 0; r < mailbox.rows.size(); ++r)
                if (run.Listed(mailbox.rows[r])) listed.push_back(r);
            const std::vector<std::vector<size_t>> ranks = Ranks(mailbox, listed, run.Growth());
            for (size_t k = 0; k < listed.size(); ++k) {
                const ReportRow& row = mailbox.rows[listed[k]];
                Row(row, ReportRun::Share(mailbox, row), paths);
                for (size_t c = 0; c < 3; ++c) json.Number(ranks[c][k]);
                if (run.Growth()) {
                    json.String(Printable(run.GrowthText(mailbox, row)));
                    json.Number(ranks[3][k]);
                }
            }
        }
        json.EndArray();
        json.EndObject();
    }

    void Top(const Overview::TopRow& top, const PathTable& paths) {
        const MailboxReport& mailbox = run.mailboxes[top.mailbox];
        const ReportRow& row = mailbox.rows[top.row];
        json.Number(top.mailbox);
        Row(row, Overview::Permille(row.record.size, run.GetTotal()), paths);
        if (run.Growth()) json.String(Printable(run.GrowthText(mailbox, row)));
    }

    void Row(const ReportRow& row, unsigned share, const PathTable& paths) {
        json.String(FileName(row.record.fileName));
        json.String(run.Size(row.record.size));
        json.Number(share);
        json.Number(paths.Id(Text(row.record.folderPath)));
        json.String(Text(row.record.folderName));
    }

    const ReportRun& run;
    JsonStream json;
};

}  // namespace

void HtmlData::Write(const ReportRun& run, std::ostream& out) { Writer(run, out).Write(); }
