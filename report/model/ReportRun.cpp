#include "report/model/ReportRun.h"

#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

ReportRun::ReportRun(const ReportOptions& options, const ReportTexts& texts,
                     const std::vector<MailboxReport>& mailboxes)
    : options(options), texts(texts), mailboxes(mailboxes), ranked(Overview::Ranked(mailboxes)) {
    if (options.top > 0) top = Overview::Top(mailboxes, options.top, options.minSize);
}

size_t ReportRun::Hidden(const MailboxReport& mailbox) const {
    size_t n = 0;
    for (const ReportRow& row : mailbox.rows) n += Listed(row) ? 0 : 1;
    return n;
}

size_t ReportRun::GetReadableCount() const {
    size_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.readable ? 1 : 0;
    return n;
}

uint64_t ReportRun::GetCount() const {
    uint64_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.count;
    return n;
}

uint64_t ReportRun::GetTotal() const {
    uint64_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.total;
    return n;
}

std::string ReportRun::GrowthText(const MailboxReport& mailbox, const ReportRow& row) const {
    if (!mailbox.hasEarlierState) return std::string();
    if (!row.seenBefore) return texts.added;
    if (row.sizeBefore == row.record.size) return std::string();
    return texts.Change(row.sizeBefore, row.record.size, options.compact);
}

std::string ReportRun::GrowthLine(const MailboxReport& mailbox) const {
    if (!mailbox.hasEarlierState) {
        if (!options.historyGrowth) return texts.noEarlierState;
        if (options.growthLatest.empty()) return texts.noEarlierRun;
        return ReportTexts::Fill(texts.noRunBefore, {RunTime::Local(options.growthLatest)});
    }
    return ReportTexts::Fill(texts.growthPattern, {RunTime::Local(mailbox.earlierTime),
                                                   texts.Change(mailbox.earlierTotal, mailbox.total, true),
                                                   texts.Change(mailbox.earlierTotal, mailbox.total, false)});
}

std::string ReportRun::PathText(const MailboxReport& mailbox) { return Utf8FromOsText(mailbox.path); }
