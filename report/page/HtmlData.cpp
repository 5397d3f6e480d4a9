#include "report/page/HtmlData.h"

#include "report/model/ReportRun.h"
#include "report/page/MailboxNames.h"
#include "report/text/JsonStream.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class Writer {
public:
    Writer(const ReportRun& run, const MailboxNames& names, std::ostream& out)
        : run(run), names(names), json(out, false, true) {}

    void Write() {
        const ReportTexts& t = run.texts;
        const bool german = t.GetLanguage() == Language::German;
        json.BeginObject();
        json.Key("texts").BeginObject();
        json.Key("match").String(t.filterMatch);
        json.Key("matches").String(t.filterMatches);
        json.Key("mailboxMatch").String(t.filterMailboxMatch);
        json.Key("mailboxMatches").String(t.filterMailboxMatches);
        json.Key("shown").String(t.rowsShown);
        json.Key("more").String(t.moreRows);
        json.Key("all").String(t.allRows);
        json.Key("added").String(t.added);
        json.Key("addedSince").String(t.addedSince);
        json.Key("ownFiles").String(t.treemapOwnFiles);
        json.Key("bytes").String(german ? "Bytes" : "bytes");
        json.EndObject();
        json.Key("lang").String(german ? "de" : "en");
        json.Key("decimal").String(german ? "," : ".");
        json.Key("percent").String(german ? " %" : "%");
        json.Key("compact").Bool(run.options.compact);
        json.Key("growth").Bool(run.Growth());
        json.Key("tree").Bool(run.options.tree);
        json.Key("minSize").String(std::to_string(run.options.minSize));
        json.Key("sort").Number(static_cast<uint64_t>(run.options.sortColumn));
        json.Key("descending").Bool(run.options.descending);
        const std::vector<std::time_t> runs = Runs();
        json.Key("runs").BeginArray();
        for (std::time_t when : runs) json.Signed(static_cast<int64_t>(when));
        json.EndArray();
        json.Key("runTexts").BeginArray();
        for (std::time_t when : runs) json.String(RunTime::Local(RunTime::Utc(when)));
        json.EndArray();
        json.Key("series").BeginArray();
        for (const MailboxReport& mailbox : run.mailboxes) Series(mailbox, runs);
        json.EndArray();
        json.Key("names").BeginArray();
        for (size_t m = 0; m < run.mailboxes.size(); ++m) json.String(names.Name(m));
        json.EndArray();
        json.Key("top").BeginArray();
        for (const Overview::TopRow& top : run.top) Top(top);
        json.EndArray();
        json.EndObject();
    }

private:
    static std::string Text(const std::string& cp1252) { return Printable(Utf8FromCp1252(cp1252)); }

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

    // Nightly runs follow each other and totals change little: steps are short.
    void Series(const MailboxReport& mailbox, const std::vector<std::time_t>& runs) {
        json.BeginArray();
        int64_t place = 0, total = 0;
        for (const RecordedTotal& point : mailbox.series) {
            const int64_t at = std::lower_bound(runs.begin(), runs.end(), Seconds(point.started)) - runs.begin();
            json.Signed(at - place);
            json.Signed(static_cast<int64_t>(point.total) - total);
            place = at;
            total = static_cast<int64_t>(point.total);
        }
        json.EndArray();
    }

    void Top(const Overview::TopRow& top) {
        const MailboxReport& mailbox = run.mailboxes[top.mailbox];
        const ReportRow& row = mailbox.rows[top.row];
        json.Number(top.mailbox);
        json.String(Printable(Utf8FromFileName(row.record.fileName)));
        json.String(run.Size(row.record.size));
        json.Number(Overview::Permille(row.record.size, run.GetTotal()));
        json.String(Text(row.record.folderPath + row.record.folderName));
        if (run.Growth()) json.String(Printable(run.GrowthText(mailbox, row)));
    }

    const ReportRun& run;
    const MailboxNames& names;
    JsonStream json;
};

}  // namespace

void HtmlData::Write(const ReportRun& run, const MailboxNames& names, std::ostream& out) {
    Writer(run, names, out).Write();
}
