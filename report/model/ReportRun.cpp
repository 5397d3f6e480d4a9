#include "report/model/ReportRun.h"

#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

ReportRun::ReportRun(const ReportOptions& options, const ReportTexts& texts,
                     const std::vector<MailboxReport>& mailboxes, std::string generatedAt)
    : options(options),
      texts(texts),
      mailboxes(mailboxes),
      ranked(Overview::Ranked(mailboxes, options.sortColumn == ReportOptions::GrowthColumn, options.descending)),
      generatedAt(generatedAt.empty() ? RunTime::Now() : std::move(generatedAt)) {
    if (options.top == 0) return;
    top = options.sortColumn == ReportOptions::GrowthColumn
              ? Overview::TopGrowth(mailboxes, options.top, options.minSize, options.descending)
              : Overview::Top(mailboxes, options.top, options.minSize);
}

size_t ReportRun::Hidden(const MailboxReport& mailbox) const {
    size_t n = 0;
    for (const ReportRow& row : mailbox.rows) n += Listed(row) ? 0 : 1;
    return n;
}

size_t ReportRun::GetReadableCount() const {
    size_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.Counted() ? 1 : 0;
    return n;
}

uint64_t ReportRun::GetCount() const {
    uint64_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.Counted() ? mailbox.count : 0;
    return n;
}

uint64_t ReportRun::GetTotal() const {
    uint64_t n = 0;
    for (const MailboxReport& mailbox : mailboxes) n += mailbox.Counted() ? mailbox.total : 0;
    return n;
}

std::string ReportRun::GrowthText(const MailboxReport& mailbox, const ReportRow& row) const {
    if (!mailbox.hasEarlierState) return std::string();
    if (!row.seenBefore) {
        const std::string& since = mailbox.FirstSeen(row);
        if (!options.historyGrowth || since.empty()) return texts.added;
        return ReportTexts::Fill(texts.addedSince, {RunTime::LocalDate(since)});
    }
    if (row.sizeBefore == row.record.size) return std::string();
    return texts.Change(row.sizeBefore, row.record.size, options.compact);
}

std::string ReportRun::GrowthLine(const MailboxReport& mailbox) const {
    if (!mailbox.hasEarlierState) return options.historyGrowth ? texts.noEarlierRun : texts.noEarlierState;
    return ReportTexts::Fill(texts.growthPattern, {RunTime::Local(mailbox.earlierTime),
                                                   texts.Change(mailbox.earlierTotal, mailbox.total, true),
                                                   texts.Change(mailbox.earlierTotal, mailbox.total, false)});
}

std::string ReportRun::PathText(const MailboxReport& mailbox) { return Utf8FromOsText(mailbox.path); }

bool ReportRun::AnyCompared() const {
    for (const MailboxReport& mailbox : mailboxes)
        if (mailbox.hasEarlierState && mailbox.Counted()) return true;
    return false;
}

int64_t ReportRun::TotalGrowth() const {
    int64_t growth = 0;
    for (const MailboxReport& mailbox : mailboxes)
        if (mailbox.hasEarlierState && mailbox.Counted()) growth += mailbox.TotalChange();
    return growth;
}

std::string ReportRun::OverviewGrowth(const MailboxReport& mailbox) const {
    if (!mailbox.hasEarlierState) return std::string();
    std::string text = texts.Change(mailbox.earlierTotal, mailbox.total, options.compact);
    int64_t permille;
    if (Overview::ChangePermille(mailbox.earlierTotal, mailbox.total, permille))
        text += " (" + texts.SignedShare(permille) + ")";
    return text;
}

std::string ReportRun::TotalLine() const {
    const std::string summary = texts.Summary(GetCount(), GetTotal());
    if (!Growth() || !AnyCompared()) return ReportTexts::Fill(texts.totalHeading, {summary});
    const int64_t growth = TotalGrowth();
    const uint64_t magnitude = growth < 0 ? 0 - static_cast<uint64_t>(growth) : static_cast<uint64_t>(growth);
    const std::string change = (growth < 0 ? "-" : "+") + texts.Size(magnitude, options.compact);
    return ReportTexts::Fill(texts.totalGrowthHeading, {summary, change});
}

std::string ReportRun::GeneratedLine() const {
    return ReportTexts::Fill(texts.generatedPattern, {RunTime::Local(generatedAt)});
}

// Names the mailboxes concerned, and with what each is compared; the others
// are compared as asked and go unmentioned.
std::string ReportRun::HistoryNote() const {
    constexpr size_t NamedAtMost = 5;
    std::vector<std::string> named;
    size_t concerned = 0;
    for (const MailboxReport& mailbox : mailboxes) {
        if (!mailbox.hasEarlierState || !mailbox.beforeHistory) continue;
        if (++concerned <= NamedAtMost)
            named.push_back(
                ReportTexts::Fill(texts.historyShortFor, {PathText(mailbox), RunTime::Local(mailbox.earlierTime)}));
    }
    if (concerned == 0) return std::string();
    std::string list;
    for (const std::string& one : named) list += (list.empty() ? "" : ", ") + one;
    if (concerned > NamedAtMost)
        list += ReportTexts::Fill(texts.historyShortMore, {std::to_string(concerned - NamedAtMost)});
    return ReportTexts::Fill(concerned == 1 ? texts.historyTooShortOne : texts.historyTooShort,
                             {std::to_string(concerned), RunTime::Local(RunTime::Utc(options.growthMoment)), list});
}

std::string ReportRun::RecordedLine(const MailboxReport& mailbox) const {
    if (mailbox.recordedAt.empty()) return std::string();
    if (!mailbox.goneSince.empty())
        return ReportTexts::Fill(texts.notFoundSince,
                                 {RunTime::Local(mailbox.recordedAt), RunTime::LocalDate(mailbox.goneSince)});
    return ReportTexts::Fill(texts.recordedPattern, {RunTime::Local(mailbox.recordedAt)});
}

std::string ReportRun::GoneMark(const MailboxReport& mailbox) const {
    if (mailbox.goneSince.empty()) return std::string();
    return ReportTexts::Fill(texts.goneSince, {RunTime::LocalDate(mailbox.goneSince)});
}

std::string ReportRun::TopHeading() const {
    const std::string* pattern = &texts.topHeading;
    if (options.sortColumn == ReportOptions::GrowthColumn)
        pattern = options.descending ? &texts.topGrownHeading : &texts.topShrunkHeading;
    return ReportTexts::Fill(*pattern, {std::to_string(top.size())});
}

std::vector<std::string> ReportRun::RemovedLines(const MailboxReport& mailbox) const {
    std::vector<std::string> lines;
    for (const MailboxReport::RemovedFolder& folder : mailbox.removedFolders) {
        const std::string size = Size(folder.size);
        lines.push_back(folder.described ? ReportTexts::Fill(texts.removedFolderPattern,
                                                             {folder.folderPath + folder.folderName,
                                                              folder.fileName, size})
                                         : ReportTexts::Fill(texts.removedPattern, {folder.fileName, size}));
    }
    for (const MailboxReport::MovedFolder& folder : mailbox.movedFolders)
        lines.push_back(ReportTexts::Fill(texts.movedPattern, {folder.fileName, folder.from, folder.to}));
    return lines;
}
