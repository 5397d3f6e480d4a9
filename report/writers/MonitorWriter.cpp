#include "report/writers/MonitorWriter.h"

#include "report/model/ReportRun.h"
#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <sstream>
#include <vector>

namespace {

constexpr size_t NamedInSummary = 3;
const char* const Prefix = "foldscan-report: ";

// A text on a status line: printable, and without the bar that would begin
// performance data.
std::string Plain(const std::string& utf8) {
    std::string out;
    for (char c : Printable(utf8)) out += c == '|' ? std::string("\u00A6") : std::string(1, c);
    return out;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : separator) + part;
    return out;
}

std::string Threshold(const std::optional<uint64_t>& bytes) { return bytes ? std::to_string(*bytes) : std::string(); }

class Status {
public:
    Status(const ReportRun& run, const MonitorCheck& check) : run(run), check(check), t(run.texts) {}

    std::string Summary(bool runFailed) const {
        std::vector<std::string> parts;
        const std::string all = std::to_string(run.mailboxes.size());
        if (runFailed) parts.push_back(t.monitorRunFailed);
        if (!check.Unreadable().empty())
            parts.push_back(ReportTexts::Fill(t.monitorUnreadable, {std::to_string(check.Unreadable().size()), all,
                                                                     Names(check.Unreadable(), false)}));
        if (!check.Over().empty())
            parts.push_back(ReportTexts::Fill(
                t.monitorOver, {std::to_string(check.Over().size()), all, Names(check.Over(), true)}));
        if (parts.empty())
            parts.push_back(ReportTexts::Fill(t.monitorSummary, {all, run.Size(run.GetTotal())}));
        return Joined(parts, "; ");
    }

    // Why a mailbox is over its thresholds, after its path.
    std::string Detail(size_t m) const {
        const MailboxReport& report = run.mailboxes[m];
        const MonitorCheck::Mailbox& mailbox = check.Mailboxes()[m];
        const Thresholds& limits = run.options.thresholds;
        std::vector<std::string> reasons;
        if (mailbox.totalState != MonitorState::Ok)
            reasons.push_back(ReportTexts::Fill(t.monitorTotalOver, {run.Size(report.total),
                                                                      Limit(mailbox.totalState, limits.warnTotal,
                                                                            limits.critTotal),
                                                                      LevelText(mailbox.totalState)}));
        if (mailbox.folderState != MonitorState::Ok) {
            const ReportRow& row = report.rows[mailbox.largestOver];
            const std::string folder = Utf8FromFileName(row.record.fileName) + " (" + ShownName(row) + ")";
            const std::string limit = Limit(mailbox.folderState, limits.warnFolder, limits.critFolder);
            const std::string level = LevelText(mailbox.folderState), size = run.Size(row.record.size);
            const std::string count = std::to_string(mailbox.foldersOver);
            reasons.push_back(mailbox.foldersOver == 1
                                  ? ReportTexts::Fill(t.monitorFolderOver, {folder, size, limit, level})
                                  : ReportTexts::Fill(t.monitorFoldersOver, {count, limit, folder, size, level}));
        }
        if (mailbox.growthState != MonitorState::Ok)
            reasons.push_back(ReportTexts::Fill(
                t.monitorGrowthOver, {t.Change(report.earlierTotal, report.total, run.options.compact),
                                      RunTime::Local(report.earlierTime),
                                      Limit(mailbox.growthState, limits.warnGrowth, limits.critGrowth),
                                      LevelText(mailbox.growthState)}));
        return ReportRun::PathText(report) + ": " + Joined(reasons, "; ");
    }

private:
    // The first few mailboxes named, with their state where asked for.
    std::string Names(const std::vector<size_t>& which, bool withState) const {
        std::vector<std::string> names;
        for (size_t i = 0; i < which.size() && i < NamedInSummary; ++i) {
            const size_t m = which[i];
            std::string name = ReportRun::PathText(run.mailboxes[m]);
            if (withState) name += " (" + LevelText(check.Mailboxes()[m].state) + ")";
            names.push_back(std::move(name));
        }
        if (which.size() > NamedInSummary)
            names.push_back(ReportTexts::Fill(t.monitorMore, {std::to_string(which.size() - NamedInSummary)}));
        return Joined(names, ", ");
    }

    std::string LevelText(MonitorState state) const {
        return state == MonitorState::Critical ? t.monitorCritical : t.monitorWarning;
    }

    std::string Limit(MonitorState state, const std::optional<uint64_t>& warn,
                      const std::optional<uint64_t>& crit) const {
        return run.Size(state == MonitorState::Critical ? *crit : *warn);
    }

    const ReportRun& run;
    const MonitorCheck& check;
    const ReportTexts& t;
};

// The messages' lines without the program's name before them.
std::vector<std::string> Lines(const std::string& messages) {
    std::vector<std::string> lines;
    std::istringstream in(messages);
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, std::char_traits<char>::length(Prefix), Prefix) == 0)
            line.erase(0, std::char_traits<char>::length(Prefix));
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

}  // namespace

const char* MonitorWriter::StateName(MonitorState state) {
    switch (state) {
    case MonitorState::Ok: return "OK";
    case MonitorState::Warning: return "WARNING";
    case MonitorState::Critical: return "CRITICAL";
    case MonitorState::Unknown: return "UNKNOWN";
    }
    return "UNKNOWN";
}

std::string MonitorWriter::Label(const std::string& utf8) {
    std::string label = "'";
    for (char c : Plain(utf8)) label += c == '\'' ? std::string("''") : c == '=' ? std::string("_") : std::string(1, c);
    return label + "'";
}

void MonitorWriter::Write(const ReportRun& run, std::ostream& out) const {
    const MonitorCheck check(run, runFailed);
    const Status status(run, check);
    const Thresholds& limits = run.options.thresholds;
    out << "FOLDSCAN " << StateName(check.State()) << " - " << Plain(status.Summary(runFailed)) << " |";
    for (const MailboxReport& mailbox : run.mailboxes) {
        out << ' ' << Label(ReportRun::PathText(mailbox)) << '='
            << (mailbox.Recordable() ? std::to_string(mailbox.total) + "B" : std::string("U")) << ';'
            << Threshold(limits.warnTotal) << ';' << Threshold(limits.critTotal) << ";0;";
        // Growth since the run it is compared with, where growth is judged.
        if (limits.AnyGrowth())
            out << ' ' << Label(ReportRun::PathText(mailbox) + " growth") << '='
                << (mailbox.Recordable() && mailbox.hasEarlierState ? std::to_string(mailbox.TotalChange()) + "B"
                                                                   : std::string("U"))
                << ';' << Threshold(limits.warnGrowth) << ';' << Threshold(limits.critGrowth) << ";;";
    }
    out << '\n';
    for (size_t m : check.Over()) out << Plain(status.Detail(m)) << '\n';
}

void MonitorWriter::WriteUnknown(const std::string& messages, std::ostream& out) {
    const std::vector<std::string> lines = Lines(messages);
    size_t reason = lines.size();
    while (reason > 0 && ReportTexts::PointsToHelp(lines[reason - 1])) --reason;
    reason = reason > 0 ? reason - 1 : 0;
    out << "FOLDSCAN UNKNOWN - " << (reason < lines.size() ? Plain(lines[reason]) : std::string()) << '\n';
    for (size_t i = 0; i < lines.size(); ++i)
        if (i != reason) out << Plain(lines[i]) << '\n';
}

void MonitorWriter::WriteMessages(const std::string& messages, std::ostream& out) {
    for (const std::string& line : Lines(messages)) out << Plain(line) << '\n';
}
