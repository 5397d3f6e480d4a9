#include "report/program/GrowthSource.h"

#include "report/history/MailboxKey.h"
#include "report/history/RecordedReports.h"
#include "report/model/MailboxReport.h"
#include "report/model/ReportOptions.h"
#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <algorithm>

GrowthSource::GrowthSource(const ReportOptions& options, const ReportTexts& texts, std::ostream& err)
    : options(options), texts(texts), err(err) {
    if (options.timeout != 0) deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeout);
    // A history of the first schema is brought to this one only where the
    // time allows it, or where that is asked for.
    history.SetMigrate(options.timeout == 0 || options.migrateHistory);
}

// Under --timeout no wait for another run's lock outlasts the time given.
void GrowthSource::Bound() {
    if (!deadline) return;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    history.SetBusyTimeout(static_cast<int>(
        std::clamp<int64_t>(left.count(), 0, HistoryStore::DefaultBusyMilliseconds)));
}

const std::string& GrowthSource::HistoryFile() const {
    return options.fromHistory.empty() ? options.historyFile : options.fromHistory;
}

bool GrowthSource::Open() {
    if (!options.stateFile.empty()) {
        std::string reason;
        if (!state.Load(options.stateFile, reason)) {
            err << ReportTexts::Fill(texts.stateUnreadable, {ShownPath(options.stateFile), reason}) << '\n';
            return false;
        }
    }
    if (!options.fromHistory.empty()) {
        historyOpen = history.Open(options.fromHistory, HistoryStore::Mode::Read);
        if (!historyOpen) HistoryFailed(texts.historyUnreadable);
        return historyOpen;
    }
    if (!options.historyFile.empty()) {
        Bound();
        historyOpen = history.Open(options.historyFile);
        if (!historyOpen) HistoryFailed(Unwritable() ? texts.historyUnwritable : texts.historyUnreadable);
    }
    return true;
}

// Problems of a history that could be read, but not brought to this schema.
bool GrowthSource::Unwritable() const {
    switch (history.GetProblem()) {
    case HistoryStore::Problem::OldSchema:
    case HistoryStore::Problem::NoSpace:
    case HistoryStore::Problem::Full:
    case HistoryStore::Problem::ReadOnly:
        return true;
    default:
        return false;
    }
}

// The state file's run where --since names one, else the history's run
// that ComparisonRule chooses for --growth or --growth-since.
// The history is read in one snapshot, so that no mailbox is compared with
// a run that another run's --keep took away from under the others.
void GrowthSource::Find() {
    const std::vector<MailboxPlace>& places = options.places;
    earlier.assign(places.size(), nullptr);
    if (!options.stateFile.empty()) {
        for (size_t i = 0; i < places.size(); ++i) earlier[i] = state.Find(places[i].stateKey);
        return;
    }
    if (!options.historyGrowth || !historyOpen) return;
    const ComparisonRule rule = ComparisonRule::Of(options);
    Bound();
    const bool read = history.Snapshot([&] {
        fromHistory.assign(places.size(), EarlierRun());
        earlier.assign(places.size(), nullptr);
        for (size_t i = 0; i < places.size(); ++i) {
            if (history.FindEarlier(places[i].key, rule, fromHistory[i]))
                earlier[i] = &fromHistory[i];
            else if (history.GetProblem() != HistoryStore::Problem::None)
                return false;
        }
        return true;
    });
    if (!read) {
        earlier.assign(places.size(), nullptr);
        HistoryFailed(texts.historyUnreadable);
    }
}

void GrowthSource::Forget(size_t i) {
    if (i < fromHistory.size()) fromHistory[i] = EarlierRun();
}

bool GrowthSource::ReadRecorded(std::vector<MailboxReport>& mailboxes) {
    std::vector<std::string> keys;
    for (const MailboxPlace& place : options.places) keys.push_back(place.key);
    std::vector<size_t> unknown;
    const bool read = history.Snapshot([&] {
        mailboxes.clear();
        unknown.clear();
        return RecordedReports::Read(history, options, texts, keys, mailboxes, unknown);
    });
    if (!read) {
        HistoryFailed(texts.historyUnreadable);
        return false;
    }
    // A mailbox the history does not know is an error, not an empty one: a
    // typo must never pass for a mailbox without folders.
    for (size_t i : unknown) {
        mailboxes.emplace_back();
        mailboxes.back().path = options.mailboxes[i];
        mailboxes.back().unknownToHistory = true;
    }
    return true;
}

// The mailboxes named, with their runs, as the history knows them (all
// where none are named), and the indices of those it does not know. False
// on a problem of the store.
bool GrowthSource::Named(std::vector<HistoryStore::Mailbox>& named, std::vector<size_t>& unknown) {
    if (options.places.empty()) return history.Mailboxes(named);
    for (size_t i = 0; i < options.places.size(); ++i) {
        HistoryStore::Mailbox mailbox;
        if (history.FindMailbox(options.places[i].key, mailbox))
            named.push_back(std::move(mailbox));
        else if (history.GetProblem() == HistoryStore::Problem::None)
            unknown.push_back(i);
        else
            return false;
    }
    return true;
}

void GrowthSource::Timeline(const std::vector<HistoryStore::Mailbox>& named, HistoryListing& listing) const {
    for (const HistoryStore::Mailbox& mailbox : named) {
        MailboxTimeline line;
        line.mailbox = mailbox.path;
        for (const HistoryStore::Mailbox::Run& run : mailbox.runs)
            if (run.started >= listing.since) line.points.push_back({run.started, run.count, run.total});
        if (!line.points.empty()) listing.timeline.push_back(std::move(line));
    }
}

// The window: --growth-since, else everything for the timeline and the
// last seven days for the changes. A mailbox named that the history does
// not know fails the run, which answers for the others.
bool GrowthSource::ReadListing(HistoryListing& listing) {
    const std::time_t from = options.growthSince ? options.growthMoment
                             : options.changes  ? RunTime::Clock() - 7 * 24 * 3600
                                                : 0;
    listing.since = from > 0 ? RunTime::Utc(from) : std::string();
    std::vector<size_t> unknown;
    const bool read = history.Snapshot([&] {
        listing.timeline.clear();
        listing.changes.clear();
        unknown.clear();
        std::vector<HistoryStore::Mailbox> named;
        if (!Named(named, unknown)) return false;
        if (options.timeline) {
            Timeline(named, listing);
            return true;
        }
        // No id asks for every mailbox: where none named is known, none is.
        std::set<int64_t> ids;
        for (const HistoryStore::Mailbox& mailbox : named) ids.insert(mailbox.id);
        return (ids.empty() && !options.places.empty()) || history.Changes(listing.since, ids, listing.changes);
    });
    if (!read) {
        HistoryFailed(texts.historyUnreadable);
        return false;
    }
    for (size_t i : unknown)
        err << ReportTexts::Fill(texts.historyUnknown, {ShownPath(options.mailboxes[i])}) << '\n';
    if (!options.filter.empty()) Filter(listing.changes);
    failed = failed || !unknown.empty();
    return unknown.empty();
}

// --filter: the changes whose file name, folder path or name, or for a
// mailbox's own change its path, holds the text, case aside.
void GrowthSource::Filter(std::vector<HistoryChange>& changes) const {
    const std::string part = FoldedCase(options.filter);
    auto holds = [&](const std::string& text) { return FoldedCase(text).find(part) != std::string::npos; };
    auto kept = [&](const HistoryChange& change) {
        if (change.kind >= HistoryChange::Kind::MailboxNew)
            return holds(change.mailbox) || holds(change.from);
        return holds(change.fileName) || holds(change.folderPath + change.folderName) || holds(change.from);
    };
    changes.erase(std::remove_if(changes.begin(), changes.end(), [&](const HistoryChange& c) { return !kept(c); }),
                  changes.end());
}

bool GrowthSource::Rename() {
    const std::string& from = options.rename[0];
    const std::string& to = options.rename[1];
    const std::string toPath = MailboxKey::PathOf(to);
    Bound();
    switch (history.Rename(MailboxKey::Of(from), MailboxKey::Of(to), toPath)) {
    case MailboxRename::Outcome::Joined:
        err << ReportTexts::Fill(texts.renameDone, {ShownPath(from), ShownPath(to)}) << '\n';
        return true;
    case MailboxRename::Outcome::UnknownOld:
        err << ReportTexts::Fill(texts.historyUnknown, {ShownPath(from)}) << '\n';
        break;
    case MailboxRename::Outcome::Overlap:
        err << ReportTexts::Fill(texts.renameOverlap, {ShownPath(to), ShownPath(from)}) << '\n';
        break;
    case MailboxRename::Outcome::Nested:
        err << ReportTexts::Fill(texts.renameNested, {ShownPath(from), ShownPath(to)}) << '\n';
        break;
    case MailboxRename::Outcome::Failed:
        HistoryFailed(texts.historyUnwritable);
        break;
    }
    failed = true;
    return false;
}

void GrowthSource::HistoryFailed(const std::string& pattern) {
    err << ReportTexts::Fill(pattern, {ShownPath(HistoryFile()), history.Reason(texts)}) << '\n';
    historyOpen = false;
    failed = true;
}

bool GrowthSource::Record(const std::string& started, const std::vector<MailboxReport>& mailboxes) {
    // The state file moves on only once the history has, so that the two
    // never disagree: not past a history that failed on the way.
    return AppendHistory(started, mailboxes) && !failed && SaveState(mailboxes);
}

// The current state of each readable mailbox, for the next run with --since.
bool GrowthSource::SaveState(const std::vector<MailboxReport>& mailboxes) {
    if (options.stateFile.empty()) return true;
    const std::string now = GrowthState::Now();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (!mailboxes[i].Recordable()) continue;
        EarlierRun current;
        current.written = now;
        current.total = mailboxes[i].total;
        for (const ReportRow& row : mailboxes[i].rows)
            current.folders[Utf8FromFileName(row.record.fileName)].size = row.record.size;
        state.Put(options.places[i].stateKey, std::move(current));
    }
    if (state.Save(options.stateFile)) return true;
    err << ReportTexts::Fill(texts.stateUnwritable, {ShownPath(options.stateFile)}) << '\n';
    return false;
}

// Every mailbox found goes with the run, those that could not be read
// without their rows: they are not gone. A place below a root that could
// not be listed is no mailbox.
bool GrowthSource::AppendHistory(const std::string& started, const std::vector<MailboxReport>& mailboxes) {
    if (!historyOpen || !options.fromHistory.empty()) return true;
    std::vector<HistoryStore::Entry> found;
    bool anyRead = false;
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        const MailboxPlace& place = options.places[i];
        if (place.unlisted) continue;
        const bool read = mailboxes[i].Recordable();
        anyRead = anyRead || read;
        const std::string scope = place.scope < 0 ? std::string() : options.scopes[static_cast<size_t>(place.scope)].text;
        found.push_back({read ? &mailboxes[i] : nullptr, place.key, place.path, scope});
    }
    if (!anyRead) return true;  // no run of nothing: the mailboxes' latest runs stay theirs
    const std::string keepFrom = options.keepSeconds > 0 ? RunTime::Utc(RunTime::Clock() - options.keepSeconds) : "";
    Bound();
    if (history.Append(started, found, options.scopes, keepFrom)) {
        for (const auto& [from, to] : history.LikelyRenames())
            err << ReportTexts::Fill(texts.renameLikely, {Printable(to), Printable(from), ShownPath(HistoryFile()),
                                                          Printable(from), Printable(to)})
                << '\n';
        return true;
    }
    HistoryFailed(texts.historyUnwritable);
    return false;
}
