#include "report/ReportProgram.h"

#include "platform/Directory.h"
#include "report/CommandLine.h"
#include "report/GrowthState.h"
#include "report/HistoryStore.h"
#include "report/JobPool.h"
#include "report/MailboxReport.h"
#include "report/ProgressLine.h"
#include "report/ReportRun.h"
#include "report/ReportWriter.h"
#include "report/RunTime.h"
#include "report/Utf8.h"
#include "ui/Trace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <new>
#include <thread>

namespace {

// The core's trace lines are for developers of the panel, not for the
// report's readers. One of them matters all the same: the scan gives back
// what it took when memory runs out, leaves its list empty and says so only
// in its trace line, and an empty mailbox must not pass for a report.
std::atomic<bool> scanOutOfMemory{false};

void Silent(const std::string& line) {
    if (line.compare(0, 17, "[FolderList.Scan]") == 0 && line.find("Speicher") != std::string::npos)
        scanOutOfMemory = true;
}

class SilentTrace {
public:
    SilentTrace() : previous(SetTraceSink(Silent)) { scanOutOfMemory = false; }
    ~SilentTrace() { SetTraceSink(previous); }
    SilentTrace(const SilentTrace&) = delete;
    SilentTrace& operator=(const SilentTrace&) = delete;

private:
    TraceSink previous;
};

// The mail store: every mailbox given, and the new-mail directory where it
// lies apart. The state file and the history must lie in none of them.
const std::string* MailboxHolding(const std::string& file, const ReportOptions& options) {
    std::string canonical = Directory::Canonical(file);
    if (canonical.empty()) return nullptr;
    for (const std::string& mailbox : options.mailboxes) {
        std::vector<std::string> places{mailbox};
        if (!options.newMailDir.empty()) places.push_back(MailboxReport::NewMailDirectory(mailbox, options.newMailDir));
        for (const std::string& place : places) {
            std::string dir = Directory::Canonical(place);
            if (Directory::IsListable(place) && Directory::Contains(dir, canonical)) return &mailbox;
        }
    }
    return nullptr;
}

// A mailbox named twice ("DIR" and "DIR/", or through a link) is reported
// once, where it was first named. The keys of those that stay.
std::vector<std::string> DropRepeated(ReportOptions& options, const ReportTexts& texts, std::ostream& err) {
    std::vector<std::string> kept, keys;
    std::map<std::string, std::string> first;
    for (const std::string& mailbox : options.mailboxes) {
        std::string key = GrowthState::KeyOf(mailbox);
        auto [at, fresh] = first.emplace(key, mailbox);
        if (!fresh) {
            err << ReportTexts::Fill(texts.sameMailbox, {Utf8FromOsText(mailbox), Utf8FromOsText(at->second)}) << '\n';
            continue;
        }
        kept.push_back(mailbox);
        keys.push_back(std::move(key));
    }
    options.mailboxes = std::move(kept);
    return keys;
}

// The current state of each readable mailbox, for the next run with --since.
void PutState(GrowthState& state, const std::string& now, const MailboxReport& mailbox, const std::string& key) {
    GrowthState::Mailbox current;
    current.written = now;
    current.total = mailbox.total;
    for (const ReportRow& row : mailbox.rows) current.folders[Utf8FromCp1252(row.record.fileName)] = row.record.size;
    state.Put(key, std::move(current));
}

std::string HistoryReason(const HistoryStore& history, const ReportTexts& texts) {
    return texts.HistoryProblem(history.GetProblem(), history.Detail());
}

}  // namespace

ReportEnvironment ReportEnvironment::OfProcess() {
    ReportEnvironment environment;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            environment.locale = value;
            break;
        }
    }
    environment.processors = std::max(1u, std::thread::hardware_concurrency());
    return environment;
}

// Running out of memory anywhere ends the run with a message: whatever was
// written stays, and the state and the history do not move on.
int ReportProgram::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const {
    bool german = true;
    try {
        german = CommandLine::LanguageOf(args, environment.locale) == Language::German;
        ReportOptions options;
        std::string text;
        switch (CommandLine::Parse(args, environment.locale, environment.processors, options, text)) {
        case CommandLine::Outcome::Done:
            out << text;
            return Success;
        case CommandLine::Outcome::Failed:
            err << text;
            return Failure;
        case CommandLine::Outcome::Run:
            break;
        }
        const ReportTexts texts(options.language);
        SilentTrace silent;
        return Report(options, texts, out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << (german ? "foldscan-report: Nicht genug Speicher.\n" : "foldscan-report: out of memory.\n");
        return Failure;
    }
}

int ReportProgram::Report(ReportOptions& options, const ReportTexts& texts, std::ostream& out,
                          std::ostream& err) const {
    const std::string started = RunTime::Now();
    const std::vector<std::string> keys = DropRepeated(options, texts, err);

    for (const auto& [file, inside] : {std::make_pair(&options.stateFile, &texts.stateInsideMailbox),
                                       std::make_pair(&options.historyFile, &texts.historyInsideMailbox)}) {
        if (file->empty()) continue;
        if (const std::string* mailbox = MailboxHolding(*file, options)) {
            err << ReportTexts::Fill(*inside, {Utf8FromOsText(*file), Utf8FromOsText(*mailbox)}) << '\n';
            return Failure;
        }
    }

    int code = Success;
    GrowthState state;
    if (!options.stateFile.empty()) {
        std::string reason;
        if (!state.Load(options.stateFile, reason)) {
            err << ReportTexts::Fill(texts.stateUnreadable, {Utf8FromOsText(options.stateFile), reason}) << '\n';
            return Failure;
        }
    }
    // A history that cannot be read leaves the report without growth; it is
    // still written, and the run fails at the end.
    HistoryStore history;
    bool historyOpen = false;
    auto historyFailed = [&](const std::string& pattern) {
        err << ReportTexts::Fill(pattern, {Utf8FromOsText(options.historyFile), HistoryReason(history, texts)})
            << '\n';
        historyOpen = false;
        code = Failure;
    };
    if (!options.historyFile.empty()) {
        historyOpen = history.Open(options.historyFile);
        if (!historyOpen) historyFailed(texts.historyUnreadable);
    }

    // What each mailbox is compared with: the state file's, or a run of the history.
    std::vector<GrowthState::Mailbox> fromHistory(options.mailboxes.size());
    std::vector<const GrowthState::Mailbox*> earlier(options.mailboxes.size(), nullptr);
    for (size_t i = 0; i < earlier.size(); ++i) {
        if (!options.stateFile.empty()) {
            earlier[i] = state.Find(keys[i]);
        } else if (options.historyGrowth && historyOpen) {
            if (history.Find(keys[i], options.growthLatest, fromHistory[i]))
                earlier[i] = &fromHistory[i];
            else if (history.GetProblem() != HistoryStore::Problem::None)
                historyFailed(texts.historyUnreadable);
        }
    }

    std::vector<MailboxReport> mailboxes(options.mailboxes.size());
    std::atomic<bool> outOfMemory{false};
    {
        ProgressLine progress(environment.errorIsTerminal, mailboxes.size(), texts, err);
        JobPool::Run(mailboxes.size(), options.jobs, [&](size_t i) {
            try {
                mailboxes[i] = MailboxReport::Make(options.mailboxes[i], options, texts, earlier[i]);
            } catch (...) {
                mailboxes[i] = MailboxReport();
                outOfMemory = true;
            }
            fromHistory[i] = GrowthState::Mailbox();
            progress.Done();
        });
        progress.Clear();
    }
    if (outOfMemory || scanOutOfMemory) throw std::bad_alloc();

    for (const MailboxReport& mailbox : mailboxes) {
        if (mailbox.readable) continue;
        err << ReportTexts::Fill(texts.mailboxUnreadable, {Utf8FromOsText(mailbox.path)}) << '\n';
        code = Failure;
    }

    const ReportRun run(options, texts, mailboxes);
    errno = 0;
    ReportWriter::For(options)->Write(run, out);
    out.flush();
    // Neither the state nor the history moves on past output that was not
    // written; a reader that stopped early ends the run without a word.
    if (!out) {
        if (errno != EPIPE) err << texts.outputUnwritable << '\n';
        return Failure;
    }

    if (!options.stateFile.empty()) {
        const std::string now = GrowthState::Now();
        for (size_t i = 0; i < mailboxes.size(); ++i)
            if (mailboxes[i].readable) PutState(state, now, mailboxes[i], keys[i]);
        if (!state.Save(options.stateFile)) {
            err << ReportTexts::Fill(texts.stateUnwritable, {Utf8FromOsText(options.stateFile)}) << '\n';
            code = Failure;
        }
    }
    if (historyOpen) {
        std::vector<const MailboxReport*> readable;
        std::vector<std::string> readableKeys;
        for (size_t i = 0; i < mailboxes.size(); ++i) {
            if (!mailboxes[i].readable) continue;
            readable.push_back(&mailboxes[i]);
            readableKeys.push_back(keys[i]);
        }
        if (!history.Append(started, readable, readableKeys)) historyFailed(texts.historyUnwritable);
    }
    if (code == Success && options.check)
        for (const MailboxReport& mailbox : mailboxes)
            if (!mailbox.findings.empty()) code = FindingsFound;
    return code;
}
