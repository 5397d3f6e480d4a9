#include "report/program/GrowthSource.h"

#include "report/model/MailboxReport.h"
#include "report/model/ReportOptions.h"
#include "report/text/ReportTexts.h"
#include "report/text/Utf8.h"

GrowthSource::GrowthSource(const ReportOptions& options, const ReportTexts& texts, std::ostream& err)
    : options(options), texts(texts), err(err) {}

bool GrowthSource::Open() {
    if (!options.stateFile.empty()) {
        std::string reason;
        if (!state.Load(options.stateFile, reason)) {
            err << ReportTexts::Fill(texts.stateUnreadable, {ShownPath(options.stateFile), reason}) << '\n';
            return false;
        }
    }
    if (!options.historyFile.empty()) {
        historyOpen = history.Open(options.historyFile);
        if (!historyOpen) HistoryFailed(texts.historyUnreadable);
    }
    return true;
}

// The state file's run where --since names one, else the history's run
// that --growth or --growth-since chose.
void GrowthSource::Find(const std::vector<std::string>& keys) {
    fromHistory.assign(keys.size(), EarlierRun());
    earlier.assign(keys.size(), nullptr);
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!options.stateFile.empty()) {
            earlier[i] = state.Find(keys[i]);
        } else if (options.historyGrowth && historyOpen) {
            if (history.Find(keys[i], options.growthLatest, fromHistory[i]))
                earlier[i] = &fromHistory[i];
            else if (history.GetProblem() != HistoryStore::Problem::None)
                HistoryFailed(texts.historyUnreadable);
        }
    }
}

void GrowthSource::Forget(size_t i) {
    if (i < fromHistory.size()) fromHistory[i] = EarlierRun();
}

void GrowthSource::HistoryFailed(const std::string& pattern) {
    err << ReportTexts::Fill(pattern, {ShownPath(options.historyFile), history.Reason(texts)}) << '\n';
    historyOpen = false;
    failed = true;
}

bool GrowthSource::Record(const std::string& started, const std::vector<MailboxReport>& mailboxes,
                          const std::vector<std::string>& keys) {
    // The state file moves on only once the history has, so that the two
    // never disagree: not past a history that failed on the way.
    return AppendHistory(started, mailboxes, keys) && !failed && SaveState(mailboxes, keys);
}

// The current state of each readable mailbox, for the next run with --since.
bool GrowthSource::SaveState(const std::vector<MailboxReport>& mailboxes, const std::vector<std::string>& keys) {
    if (options.stateFile.empty()) return true;
    const std::string now = GrowthState::Now();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (!mailboxes[i].Recordable()) continue;
        EarlierRun current;
        current.written = now;
        current.total = mailboxes[i].total;
        for (const ReportRow& row : mailboxes[i].rows)
            current.folders[Utf8FromFileName(row.record.fileName)] = row.record.size;
        state.Put(keys[i], std::move(current));
    }
    if (state.Save(options.stateFile)) return true;
    err << ReportTexts::Fill(texts.stateUnwritable, {ShownPath(options.stateFile)}) << '\n';
    return false;
}

bool GrowthSource::AppendHistory(const std::string& started, const std::vector<MailboxReport>& mailboxes,
                                 const std::vector<std::string>& keys) {
    if (!historyOpen) return true;
    std::vector<const MailboxReport*> readable;
    std::vector<std::string> readableKeys;
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (!mailboxes[i].Recordable()) continue;
        readable.push_back(&mailboxes[i]);
        readableKeys.push_back(keys[i]);
    }
    if (history.Append(started, readable, readableKeys)) return true;
    HistoryFailed(texts.historyUnwritable);
    return false;
}
