#include "report/history/RecordedReports.h"

#include "report/history/HistoryStore.h"
#include "report/model/MailboxReport.h"
#include "report/model/ReportOptions.h"
#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <map>

namespace {

// The enum value whose machine name is name; fallback for a name this
// version does not know.
template <typename Enum, typename Namer>
Enum Named(const std::string& name, std::initializer_list<Enum> values, Namer namer, Enum fallback) {
    for (Enum value : values)
        if (name == namer(value)) return value;
    return fallback;
}

// A row as the scan would have made it: texts in code page 1252, a status
// text in the report's language in place of an unread name.
ReportRow RowOf(const RecordedFolder& folder, const ReportTexts& texts) {
    ReportRow row;
    row.kind = Named(folder.kind, {FolderKind::NewMail, FolderKind::Pmm, FolderKind::Mbx}, FolderKindName,
                     FolderKind::Pmm);
    FolderInfo& record = row.record;
    record.fileName = FileNameFromUtf8(folder.fileName);
    record.size = folder.size;
    record.status = Named(folder.status,
                          {FolderStatus::Ok, FolderStatus::CannotOpen, FolderStatus::NotValid,
                           FolderStatus::MbxCannotOpen, FolderStatus::PmgCannotOpen, FolderStatus::PmgNotValid},
                          FolderStatusName, FolderStatus::Ok);
    record.hierarchyKey = Cp1252FromUtf8(folder.hierarchyKey);
    record.folderPath = Cp1252FromUtf8(folder.folderPath);
    record.folderName =
        record.status == FolderStatus::Ok ? Cp1252FromUtf8(folder.folderName) : texts.StatusText(record.status);
    return row;
}

MailboxReport ReportOf(HistoryStore& store, const HistoryStore::Mailbox& mailbox, const ReportOptions& options,
                       const ReportTexts& texts, const std::string& goneSince, bool& ok) {
    const size_t latest = mailbox.runs.size() - 1;
    std::vector<std::time_t> starts;
    for (size_t i = 0; i < latest; ++i) {
        std::time_t when = 0;
        RunTime::ParseUtc(mailbox.runs[i].started, when);
        starts.push_back(when);
    }
    const ComparisonRule::Choice choice = ComparisonRule::Of(options).Choose(starts);
    EarlierRun earlier;
    std::vector<RecordedFolder> folders;
    ok = store.Compare(mailbox, choice.index, latest, &earlier, folders);
    earlier.beforeHistory = choice.beforeHistory;
    std::vector<ReportRow> rows;
    rows.reserve(folders.size());
    for (const RecordedFolder& folder : folders) rows.push_back(RowOf(folder, texts));
    const HistoryStore::Mailbox::Run& run = mailbox.runs[latest];
    const bool compared = ok && choice.index != ComparisonRule::None;
    MailboxReport report = MailboxReport::FromRecord(mailbox.path, std::move(rows), run.count, run.total, options,
                                                     compared ? &earlier : nullptr, run.started);
    report.goneSince = goneSince;
    return report;
}

}  // namespace

bool RecordedReports::Read(HistoryStore& store, const ReportOptions& options, const ReportTexts& texts,
                           const std::vector<std::string>& keys, std::vector<MailboxReport>& reports,
                           std::vector<size_t>& unknown) {
    std::vector<HistoryStore::Mailbox> mailboxes;
    if (keys.empty() && !store.Mailboxes(mailboxes)) return false;
    for (size_t i = 0; i < keys.size(); ++i) {
        HistoryStore::Mailbox mailbox;
        if (store.FindMailbox(keys[i], mailbox))
            mailboxes.push_back(std::move(mailbox));
        else if (store.GetProblem() != HistoryStore::Problem::None)
            return false;
        else
            unknown.push_back(i);
    }
    std::map<int64_t, std::string> gone;
    if (!store.GoneSince(gone)) return false;
    // Those gone after the others, each group in its order.
    std::stable_partition(mailboxes.begin(), mailboxes.end(),
                          [&](const HistoryStore::Mailbox& mailbox) { return gone.count(mailbox.id) == 0; });
    for (const HistoryStore::Mailbox& mailbox : mailboxes) {
        bool ok = true;
        const auto found = gone.find(mailbox.id);
        reports.push_back(ReportOf(store, mailbox, options, texts, found == gone.end() ? "" : found->second, ok));
        if (!ok) return false;
    }
    return true;
}
