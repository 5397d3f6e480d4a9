#include "report/ReportProgram.h"

#include "platform/Directory.h"
#include "report/CommandLine.h"
#include "report/GrowthState.h"
#include "report/JobPool.h"
#include "report/MailboxReport.h"
#include "report/ProgressLine.h"
#include "report/ReportRun.h"
#include "report/ReportWriter.h"
#include "report/Utf8.h"
#include "ui/Trace.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <thread>

namespace {

// The core's trace lines are for developers of the panel, not for the
// report's readers.
void Silent(const std::string&) {}

class SilentTrace {
public:
    SilentTrace() : previous(SetTraceSink(Silent)) {}
    ~SilentTrace() { SetTraceSink(previous); }
    SilentTrace(const SilentTrace&) = delete;
    SilentTrace& operator=(const SilentTrace&) = delete;

private:
    TraceSink previous;
};

// The mail store: every mailbox given, and the new-mail directory where it
// lies apart. The state file must lie in none of them.
const std::string* MailboxHolding(const std::string& stateFile, const ReportOptions& options) {
    std::string state = Directory::Canonical(stateFile);
    if (state.empty()) return nullptr;
    for (const std::string& mailbox : options.mailboxes) {
        std::vector<std::string> places{mailbox};
        if (!options.newMailDir.empty()) places.push_back(MailboxReport::NewMailDirectory(mailbox, options.newMailDir));
        for (const std::string& place : places) {
            std::string dir = Directory::Canonical(place);
            if (Directory::IsListable(place) && Directory::Contains(dir, state)) return &mailbox;
        }
    }
    return nullptr;
}

void ApplyGrowth(GrowthState& state, const std::string& now, MailboxReport& mailbox) {
    const std::string key = GrowthState::KeyOf(mailbox.path);
    GrowthState::Mailbox current;
    current.written = now;
    current.total = mailbox.total;
    for (const ReportRow& row : mailbox.rows) current.folders[Utf8FromCp1252(row.record.fileName)] = row.record.size;

    if (const GrowthState::Mailbox* earlier = state.Find(key)) {
        mailbox.hasEarlierState = true;
        mailbox.earlierTime = earlier->written;
        mailbox.earlierTotal = earlier->total;
        for (ReportRow& row : mailbox.rows) {
            auto found = earlier->folders.find(Utf8FromCp1252(row.record.fileName));
            if (found == earlier->folders.end()) continue;
            row.seenBefore = true;
            row.sizeBefore = found->second;
        }
        for (const auto& [name, size] : earlier->folders)
            if (current.folders.count(name) == 0) mailbox.removedFolders.emplace_back(name, size);
    }
    state.Put(key, std::move(current));
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

int ReportProgram::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const {
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

    GrowthState state;
    if (!options.stateFile.empty()) {
        if (const std::string* mailbox = MailboxHolding(options.stateFile, options)) {
            err << ReportTexts::Fill(texts.stateInsideMailbox,
                                     {Utf8FromOsText(options.stateFile), Utf8FromOsText(*mailbox)})
                << '\n';
            return Failure;
        }
        std::string reason;
        if (!state.Load(options.stateFile, reason)) {
            err << ReportTexts::Fill(texts.stateUnreadable, {Utf8FromOsText(options.stateFile), reason}) << '\n';
            return Failure;
        }
    }

    std::vector<MailboxReport> mailboxes(options.mailboxes.size());
    {
        ProgressLine progress(environment.errorIsTerminal, mailboxes.size(), texts, err);
        JobPool::Run(mailboxes.size(), options.jobs, [&](size_t i) {
            try {
                mailboxes[i] = MailboxReport::Make(options.mailboxes[i], options, texts);
            } catch (...) {
                // Out of memory for this one: it is reported like an unreadable mailbox.
                mailboxes[i] = MailboxReport();
                mailboxes[i].path = options.mailboxes[i];
            }
            progress.Done();
        });
        progress.Clear();
    }

    int code = Success;
    for (const MailboxReport& mailbox : mailboxes) {
        if (mailbox.readable) continue;
        err << ReportTexts::Fill(texts.mailboxUnreadable, {Utf8FromOsText(mailbox.path)}) << '\n';
        code = Failure;
    }
    if (!options.stateFile.empty()) {
        const std::string now = GrowthState::Now();
        for (MailboxReport& mailbox : mailboxes)
            if (mailbox.readable) ApplyGrowth(state, now, mailbox);
    }

    const ReportRun run(options, texts, mailboxes);
    ReportWriter::For(options.format)->Write(run, out);
    out.flush();

    if (!options.stateFile.empty() && !state.Save(options.stateFile)) {
        err << ReportTexts::Fill(texts.stateUnwritable, {Utf8FromOsText(options.stateFile)}) << '\n';
        code = Failure;
    }
    if (code == Success && options.check)
        for (const MailboxReport& mailbox : mailboxes)
            if (!mailbox.findings.empty()) code = FindingsFound;
    return code;
}
