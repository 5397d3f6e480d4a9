#include "report/model/MonitorCheck.h"

#include "report/model/ReportRun.h"

#include <algorithm>

namespace {

MonitorState Worse(MonitorState a, MonitorState b) { return static_cast<int>(a) > static_cast<int>(b) ? a : b; }

// The folders over the worst folder threshold crossed, and the largest of them.
void CheckFolders(const MailboxReport& report, const Thresholds& limits, MonitorCheck::Mailbox& mailbox) {
    for (size_t r = 0; r < report.rows.size(); ++r) {
        const uint64_t size = report.rows[r].record.size;
        const MonitorState level = MonitorCheck::Level(size, limits.warnFolder, limits.critFolder);
        if (level == MonitorState::Ok || static_cast<int>(level) < static_cast<int>(mailbox.folderState)) continue;
        if (level != mailbox.folderState) {
            mailbox.folderState = level;
            mailbox.foldersOver = 0;
            mailbox.largestOver = MonitorCheck::None;
        }
        ++mailbox.foldersOver;
        if (mailbox.largestOver == MonitorCheck::None || size > report.rows[mailbox.largestOver].record.size)
            mailbox.largestOver = r;
    }
}

}  // namespace

MonitorState MonitorCheck::Level(uint64_t value, const std::optional<uint64_t>& warn,
                                 const std::optional<uint64_t>& crit) {
    if (crit && value > *crit) return MonitorState::Critical;
    if (warn && value > *warn) return MonitorState::Warning;
    return MonitorState::Ok;
}

MonitorCheck::MonitorCheck(const ReportRun& run, bool runFailed) {
    const Thresholds& limits = run.options.thresholds;
    mailboxes.resize(run.mailboxes.size());
    MonitorState worst = MonitorState::Ok;
    for (size_t m = 0; m < run.mailboxes.size(); ++m) {
        const MailboxReport& report = run.mailboxes[m];
        Mailbox& mailbox = mailboxes[m];
        if (!report.Recordable()) {
            mailbox.state = MonitorState::Unknown;
            unreadable.push_back(m);
            continue;
        }
        mailbox.totalState = Level(report.total, limits.warnTotal, limits.critTotal);
        CheckFolders(report, limits, mailbox);
        const int64_t growth = report.hasEarlierState ? report.TotalChange() : 0;
        if (growth > 0) mailbox.growthState = Level(static_cast<uint64_t>(growth), limits.warnGrowth, limits.critGrowth);
        mailbox.state = Worse(Worse(mailbox.totalState, mailbox.folderState), mailbox.growthState);
        if (mailbox.state != MonitorState::Ok) over.push_back(m);
        worst = Worse(worst, mailbox.state);
    }
    std::stable_sort(over.begin(), over.end(), [&](size_t a, size_t b) {
        if (mailboxes[a].state != mailboxes[b].state)
            return static_cast<int>(mailboxes[a].state) > static_cast<int>(mailboxes[b].state);
        return run.mailboxes[a].total > run.mailboxes[b].total;
    });
    state = runFailed || !unreadable.empty() ? MonitorState::Unknown : worst;
}
