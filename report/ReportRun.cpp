#include "report/ReportRun.h"

#include "report/Utf8.h"

size_t ReportRun::ReadableCount() const {
    size_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.readable ? 1 : 0;
    return n;
}

uint64_t ReportRun::Count() const {
    uint64_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.count;
    return n;
}

uint64_t ReportRun::Total() const {
    uint64_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.total;
    return n;
}

std::string ReportRun::GrowthText(const MailboxReport& mailbox, const ReportRow& row) const {
    if (!mailbox.hasEarlierState) return std::string();
    if (!row.seenBefore) return texts.added;
    return texts.Change(row.sizeBefore, row.record.size, options.compact);
}

std::string ReportRun::PathText(const MailboxReport& mailbox) { return Utf8FromOsText(mailbox.path); }
