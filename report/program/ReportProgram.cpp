#include "report/program/ReportProgram.h"

#include "platform/Directory.h"
#include "report/history/MailboxKey.h"
#include "report/model/MailboxReport.h"
#include "report/model/ReportRun.h"
#include "report/page/HtmlWriter.h"
#include "report/program/CommandLine.h"
#include "report/program/GrowthSource.h"
#include "report/program/JobPool.h"
#include "report/program/ProgressLine.h"
#include "report/scan/ThreadBudget.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "report/writers/DelimitedWriter.h"
#include "report/writers/JsonWriter.h"
#include "report/writers/TableWriter.h"
#include "ui/Trace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
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

// A mailbox named twice ("DIR" and "DIR/", or through a link; on Windows
// also in another case) is reported once, where it was first named. The
// history's keys of those that stay.
std::vector<std::string> DropRepeated(ReportOptions& options, const ReportTexts& texts, std::ostream& err) {
    std::vector<std::string> kept, keys;
    std::map<std::string, std::string> first;
    for (const std::string& mailbox : options.mailboxes) {
        std::string key = MailboxKey::Of(mailbox);
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

// The state file and the history must lie in no mailbox: true, after the
// message, when one does.
bool KeptInsideMailbox(const ReportOptions& options, const ReportTexts& texts, std::ostream& err) {
    for (const auto& [file, inside] : {std::make_pair(&options.stateFile, &texts.stateInsideMailbox),
                                       std::make_pair(&options.historyFile, &texts.historyInsideMailbox)}) {
        if (file->empty()) continue;
        if (const std::string* mailbox = MailboxHolding(*file, options)) {
            err << ReportTexts::Fill(*inside, {Utf8FromOsText(*file), Utf8FromOsText(*mailbox)}) << '\n';
            return true;
        }
    }
    return false;
}

// One writer for the format asked for.
std::unique_ptr<ReportWriter> WriterFor(const ReportOptions& options) {
    switch (options.format) {
    case ReportFormat::Table:
        return std::make_unique<TableWriter>();
    case ReportFormat::Tsv:
        return std::make_unique<DelimitedWriter>(DelimitedWriter::Style::Tsv);
    case ReportFormat::Csv:
        return std::make_unique<DelimitedWriter>(options.excel ? DelimitedWriter::Style::Excel
                                                               : DelimitedWriter::Style::Csv);
    case ReportFormat::Json:
        return std::make_unique<JsonWriter>();
    case ReportFormat::Html:
        return std::make_unique<HtmlWriter>();
    }
    return std::make_unique<TableWriter>();
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

// Options, state, parallel scan, messages, output, growth recorded, an exit code.
int ReportProgram::Report(ReportOptions& options, const ReportTexts& texts, std::ostream& out,
                          std::ostream& err) const {
    const std::string started = RunTime::Now();
    const std::vector<std::string> keys = DropRepeated(options, texts, err);
    if (KeptInsideMailbox(options, texts, err)) return Failure;

    GrowthSource growth(options, texts, err);
    if (!growth.Open()) return Failure;
    std::vector<MailboxReport> mailboxes;
    if (!options.fromHistory.empty()) {
        if (!growth.ReadRecorded(keys, mailboxes)) return Failure;
    } else {
        growth.Find(keys);
        mailboxes = ScanAll(options, texts, growth, err);
    }
    int code = growth.Failed() ? Failure : Success;
    for (const MailboxReport& mailbox : mailboxes) {
        if (mailbox.readable) continue;
        err << ReportTexts::Fill(texts.mailboxUnreadable, {Utf8FromOsText(mailbox.path)}) << '\n';
        code = Failure;
    }

    const ReportRun run(options, texts, mailboxes, started);
    errno = 0;
    WriterFor(options)->Write(run, out);
    out.flush();
    // Neither the state nor the history moves on past output that was not
    // written; a reader that stopped early ends the run without a word.
    if (!out) {
        if (errno != EPIPE) err << texts.outputUnwritable << '\n';
        return Failure;
    }

    if (!growth.Record(started, mailboxes, keys)) code = Failure;
    if (code == Success && options.check)
        for (const MailboxReport& mailbox : mailboxes)
            if (!mailbox.findings.empty()) code = FindingsFound;
    return code;
}

// Every mailbox, on up to --jobs threads, which also read the folder files of
// the mailboxes being scanned; out of memory in any ends the run.
std::vector<MailboxReport> ReportProgram::ScanAll(const ReportOptions& options, const ReportTexts& texts,
                                                  GrowthSource& growth, std::ostream& err) const {
    std::vector<MailboxReport> mailboxes(options.mailboxes.size());
    std::atomic<bool> outOfMemory{false};
    {
        ProgressLine progress(environment.errorIsTerminal, mailboxes.size(), texts, err);
        ThreadBudget threads(options.jobs);
        JobPool::Run(mailboxes.size(), threads, [&](size_t i) {
            try {
                mailboxes[i] =
                    MailboxReport::Make(options.mailboxes[i], options, texts, growth.Earlier(i), &threads);
            } catch (...) {
                mailboxes[i] = MailboxReport();
                outOfMemory = true;
            }
            growth.Forget(i);
            progress.Done();
        });
        progress.Clear();
    }
    if (outOfMemory) throw std::bad_alloc();
    return mailboxes;
}
