#include "report/program/ReportProgram.h"

#include "platform/Directory.h"
#include "platform/FileLocation.h"
#include "report/model/MailboxReport.h"
#include "report/model/ReportRun.h"
#include "report/page/HtmlWriter.h"
#include "report/program/CommandLine.h"
#include "report/program/GrowthSource.h"
#include "report/program/JobPool.h"
#include "report/program/MailboxFinder.h"
#include "report/program/OutputFile.h"
#include "report/program/ProgressLine.h"
#include "report/program/RunWatch.h"
#include "report/scan/ThreadBudget.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "report/writers/DelimitedWriter.h"
#include "report/writers/JsonWriter.h"
#include "report/writers/MonitorWriter.h"
#include "report/writers/TableWriter.h"
#include "store/FolderSource.h"
#include "ui/Trace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <sstream>
#include <thread>

namespace {

void OutOfMemory(bool german, std::ostream& out, std::ostream& err) {
    out.flush();
    err << (german ? "foldscan-report: Nicht genug Speicher.\n" : "foldscan-report: out of memory.\n");
}

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
// lies apart. The state file, the history and the output file must lie in
// none of them, however each is spelt: for each, the mailbox it lies in, or
// null. Each place of the store is looked at once, for all the files, and a
// mailbox by the canonical path its place holds.
std::vector<const std::string*> MailboxesHolding(const std::vector<std::string>& files, const ReportOptions& options) {
    std::vector<FileLocation> where;
    for (const std::string& file : files) where.emplace_back(file);  // an empty one is not known
    std::vector<const std::string*> holding(files.size(), nullptr);
    auto look = [&](const std::string& mailbox, const std::string& place, const FileLocation& dir) {
        for (size_t f = 0; f < files.size(); ++f)
            // The cheap comparison first: listing a share's directory is not.
            if (!holding[f] && where[f].Known() && where[f].Inside(dir) && Directory::IsListable(place))
                holding[f] = &mailbox;
    };
    for (size_t m = 0; m < options.mailboxes.size(); ++m) {
        const std::string& mailbox = options.mailboxes[m];
        const std::string& canonical = options.places[m].canonical;
        look(mailbox, mailbox, canonical.empty() ? FileLocation(mailbox) : FileLocation::OfCanonical(canonical));
        if (options.newMailDir.empty()) continue;
        const std::string newMail = MailboxReport::NewMailDirectory(mailbox, options.newMailDir);
        look(mailbox, newMail, FileLocation(newMail));
    }
    return holding;
}

// A mailbox named twice ("DIR" and "DIR/", or through a link; on Windows
// also in another case) is reported once, where it was first named.
void DropRepeated(ReportOptions& options, const ReportTexts& texts, std::ostream& err) {
    std::vector<std::string> kept;
    std::vector<MailboxPlace> places;
    std::map<std::string, std::string> first;
    for (size_t i = 0; i < options.mailboxes.size(); ++i) {
        const std::string& mailbox = options.mailboxes[i];
        auto [at, fresh] = first.emplace(options.places[i].key, mailbox);
        if (!fresh) {
            err << ReportTexts::Fill(texts.sameMailbox, {ShownPath(mailbox), ShownPath(at->second)}) << '\n';
            continue;
        }
        kept.push_back(mailbox);
        places.push_back(std::move(options.places[i]));
    }
    options.mailboxes = std::move(kept);
    options.places = std::move(places);
}

// The state file, the history and the output file must lie in no mailbox,
// and no two of them be one file: true, after the message, when they do.
bool KeptInsideMailbox(const ReportOptions& options, const ReportTexts& texts, std::ostream& err) {
    const std::pair<const std::string*, const std::string*> files[] = {
        {&options.stateFile, &texts.stateInsideMailbox},
        {&options.historyFile, &texts.historyInsideMailbox},
        {&options.outputFile, &texts.outputInsideMailbox}};
    if (!options.stateFile.empty() || !options.historyFile.empty() || !options.outputFile.empty()) {
        const std::vector<const std::string*> holding =
            MailboxesHolding({options.stateFile, options.historyFile, options.outputFile}, options);
        for (size_t f = 0; f < holding.size(); ++f)
            if (holding[f]) {
                err << ReportTexts::Fill(*files[f].second, {ShownPath(*files[f].first), ShownPath(*holding[f])})
                    << '\n';
                return true;
            }
    }
    for (const auto& [file, inside] : files)
        for (const auto& [other, unused] : files)
            if (file < other && !file->empty() && !other->empty() &&
                FileLocation(*file).SameFile(FileLocation(*other))) {
                const std::string same = ReportTexts::Fill(texts.sameFile, {ShownPath(*file), ShownPath(*other)});
                err << ReportTexts::Fill(texts.badOption, {same}) << '\n' << texts.seeHelp << '\n';
                return true;
            }
    return false;
}

// Says which mailboxes could not be read, or not whole, and when the run
// records, that they are not: their latest recorded run stays their latest.
bool AllRead(const std::vector<MailboxReport>& mailboxes, const ReportOptions& options, const ReportTexts& texts,
             std::ostream& err) {
    std::string unrecorded;
    for (const MailboxReport& mailbox : mailboxes) {
        if (mailbox.Recordable()) continue;
        if (mailbox.unlisted) {
            // said when it was found
        } else if (mailbox.unknownToHistory) {
            err << ReportTexts::Fill(texts.historyUnknown, {ShownPath(mailbox.path)}) << '\n';
        } else if (!mailbox.readable) {
            err << ReportTexts::Fill(texts.mailboxUnreadable, {ShownPath(mailbox.path)}) << '\n';
        } else {
            const std::string file = mailbox.FailedFile();
            const std::string why = file.empty() ? texts.listingBroke : ReportTexts::Fill(texts.fileFailed, {file});
            err << ReportTexts::Fill(texts.mailboxIncomplete, {ShownPath(mailbox.path), Printable(why)}) << '\n';
        }
        unrecorded += (unrecorded.empty() ? "" : ", ") + ShownPath(mailbox.path);
    }
    if (!unrecorded.empty() && (!options.stateFile.empty() || !options.historyFile.empty()))
        err << ReportTexts::Fill(texts.notRecorded, {unrecorded}) << '\n';
    return unrecorded.empty();
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

// Writes through the one writer for the format, to the output file or to
// out. False, after its message, when the output could not be written
// whole; a reader that stopped early ends the run without a word.
bool Emit(const ReportOptions& options, const ReportTexts& texts, std::ostream& out, std::ostream& err,
          const std::function<void(const ReportWriter& writer, std::ostream& target)>& write) {
    errno = 0;
    OutputFile file(options.outputFile);
    if (!options.outputFile.empty()) file.Open();
    std::ostream& target = options.outputFile.empty() ? out : file.Stream();
    write(*WriterFor(options), target);
    target.flush();
    if (!options.outputFile.empty() && !file.Commit()) {
        err << ReportTexts::Fill(texts.outputFileUnwritable, {ShownPath(options.outputFile)}) << '\n';
        return false;
    }
    if (!out) {
        if (errno != EPIPE) err << texts.outputUnwritable << '\n';
        return false;
    }
    return true;
}

bool NoMailboxNamed(const ReportOptions& options) {
    return options.mailboxes.empty() && options.mailboxLists.empty() && options.mailboxRoots.empty();
}

// --migrate-history alone: the history opened to be written, which brings it
// to this schema.
int MigrateHistory(const ReportOptions& options, const ReportTexts& texts, std::ostream& err) {
    GrowthSource growth(options, texts, err);
    if (!growth.Open() || growth.Failed()) return ReportProgram::Failure;
    err << ReportTexts::Fill(texts.historyMigrated, {ShownPath(options.historyFile)}) << '\n';
    return ReportProgram::Success;
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
// A monitoring system reads the status and the exit code: what the run says
// on standard error follows the status, or stands in its place when the run
// ended before it had one. A run that ran out of time ends once all is said.
int ReportProgram::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const {
    SilentTrace silent;  // until the watch has waited for the run's thread
    RunWatch watch;
    const bool monitor = CommandLine::AsksToMonitor(args);
    std::ostringstream status, messages;
    int code = RunOnce(args, monitor ? status : out, monitor ? messages : err, watch);
    if (monitor && status.str().empty()) {
        MonitorWriter::WriteUnknown(messages.str(), out);
        code = MonitorUnknown;
    } else if (monitor) {
        out << status.str();
        MonitorWriter::WriteMessages(messages.str(), out);
    }
    out.flush();
    err.flush();
    if (watch.TimedOut() && environment.abandon) environment.abandon(code);
    return code;
}

int ReportProgram::RunOnce(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                           RunWatch& watch) const {
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
        if (options.timeout != 0) {
            auto texts = std::make_shared<const ReportTexts>(options.language);
            return Watched(std::make_shared<ReportOptions>(std::move(options)), texts, out, err, watch);
        }
        const ReportTexts texts(options.language);
        return Report(options, texts, out, err, nullptr);
    } catch (const std::bad_alloc&) {
        OutOfMemory(german, out, err);
        return Failure;
    }
}

// The run on a thread of its own, watched: it holds what it works on, which
// outlives this call when the time runs out.
int ReportProgram::Watched(std::shared_ptr<ReportOptions> options, std::shared_ptr<const ReportTexts> texts,
                           std::ostream& out, std::ostream& err, RunWatch& watch) const {
    const unsigned seconds = options->timeout;
    const bool monitor = options->monitor;
    const bool ended = watch.Run(seconds, err, [this, options, texts, &out, &watch](std::ostream& messages) {
        try {
            return Report(*options, *texts, out, messages, &watch);
        } catch (const std::bad_alloc&) {
            OutOfMemory(texts->GetLanguage() == Language::German, out, messages);
            return static_cast<int>(Failure);
        }
    });
    if (ended) return watch.Result();
    const std::vector<std::string> waiting = watch.Waiting();
    std::string names;
    for (const std::string& path : waiting) names += (names.empty() ? "" : ", ") + ShownPath(path);
    if (environment.errorIsTerminal && !monitor) watch.Say(std::string());  // below the progress line
    watch.Say(waiting.empty() ? ReportTexts::Fill(texts->timedOut, {std::to_string(seconds)})
                              : ReportTexts::Fill(texts->timedOutReading, {std::to_string(seconds), names}));
    return monitor ? MonitorUnknown : Failure;
}

// Options, state, parallel scan, messages, output, growth recorded, an exit code.
int ReportProgram::Report(ReportOptions& options, const ReportTexts& texts, std::ostream& out, std::ostream& err,
                          RunWatch* watch) const {
    const std::string started = RunTime::Now();
    if (options.migrateHistory && NoMailboxNamed(options)) return MigrateHistory(options, texts, err);
    if (!MailboxFinder(texts, environment.input, err, environment.canonical).Find(options)) return Failure;
    DropRepeated(options, texts, err);
    if (KeptInsideMailbox(options, texts, err)) return Failure;

    if (!options.outputFile.empty() && !OutputFile::CanOpen(options.outputFile)) {
        err << ReportTexts::Fill(texts.outputFileUnwritable, {ShownPath(options.outputFile)}) << '\n';
        return Failure;
    }
    GrowthSource growth(options, texts, err);
    if (!growth.Open()) return Failure;
    if (!options.rename.empty()) return !growth.Failed() && growth.Rename() ? Success : Failure;
    if (options.timeline || options.changes) {
        HistoryListing listing{options, texts, started, {}, {}, {}};
        if (!growth.ReadListing(listing)) return Failure;
        return Emit(options, texts, out, err, [&](const ReportWriter& writer, std::ostream& target) {
                   writer.Write(listing, target);
               })
                   ? Success
                   : Failure;
    }
    std::vector<MailboxReport> mailboxes;
    if (!options.fromHistory.empty()) {
        if (!growth.ReadRecorded(mailboxes)) return Failure;
    } else {
        growth.Find();
        mailboxes = ScanAll(options, texts, growth, err, watch);
    }
    int code = growth.Failed() || !AllRead(mailboxes, options, texts, err) ? Failure : Success;

    const ReportRun run(options, texts, mailboxes, started);
    // Past the time given, nothing is written or recorded.
    if (watch && !watch->StartWriting()) return Failure;
    if (options.monitor) return Monitor(run, growth, started, out);
    // Neither the state nor the history moves on past output that was not
    // written.
    if (!Emit(options, texts, out, err,
              [&](const ReportWriter& writer, std::ostream& target) { writer.Write(run, target); }))
        return Failure;

    if (!growth.Record(started, mailboxes)) code = Failure;
    if (code == Success && options.check)
        for (const MailboxReport& mailbox : mailboxes)
            if (!mailbox.findings.empty()) code = FindingsFound;
    return code;
}

// The run is recorded before its status is written, so that the status can
// say when that failed; the exit code is the status.
int ReportProgram::Monitor(const ReportRun& run, GrowthSource& growth, const std::string& started,
                           std::ostream& out) const {
    const bool failed = !growth.Record(started, run.mailboxes) || growth.Failed();
    MonitorWriter(failed).Write(run, out);
    return static_cast<int>(MonitorCheck(run, failed).State());
}

// Every mailbox, on up to --jobs threads, which also read the folder files of
// the mailboxes being scanned; out of memory in any ends the run.
std::vector<MailboxReport> ReportProgram::ScanAll(const ReportOptions& options, const ReportTexts& texts,
                                                  GrowthSource& growth, std::ostream& err, RunWatch* watch) const {
    std::vector<MailboxReport> mailboxes(options.mailboxes.size());
    std::atomic<bool> outOfMemory{false};
    {
        ProgressLine progress(environment.errorIsTerminal && !options.monitor, mailboxes.size(), texts, err);
        ThreadBudget threads(options.jobs);
        if (watch) watch->Watch(&threads);
        JobPool::Run(mailboxes.size(), threads, [&](size_t i) {
            if (options.places[i].unlisted) {
                mailboxes[i].path = options.mailboxes[i];  // not a mailbox: unread
                mailboxes[i].unlisted = true;
                progress.Done();
                return;
            }
            if (watch) watch->Reading(i, options.mailboxes[i]);
            try {
                std::unique_ptr<FolderSource> source = environment.makeSource ? environment.makeSource() : nullptr;
                mailboxes[i] = MailboxReport::Make(options.mailboxes[i], options, texts, growth.Earlier(i), &threads,
                                                   source.get());
            } catch (...) {
                mailboxes[i] = MailboxReport();
                outOfMemory = true;
            }
            growth.Forget(i);
            if (watch) watch->Read(i);
            progress.Done();
        });
        progress.Clear();
        if (watch) watch->Watch(nullptr);
    }
    if (outOfMemory) throw std::bad_alloc();
    return mailboxes;
}
