#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class FolderSource;
class GrowthSource;
class MailboxReport;
struct ReportOptions;
struct ReportRun;
class ReportTexts;
class RunWatch;

// What the report takes from its surroundings, apart from its arguments.
struct ReportEnvironment {
    std::string locale;            // the first of LC_ALL, LC_MESSAGES and LANG that is set
    bool errorIsTerminal = false;  // a progress line may be drawn
    unsigned processors = 1;
    std::istream* input = nullptr;  // standard input, for --mailboxes-from -
    // When --timeout ran out, with the run's threads still held by the file
    // system: ends the program with the exit code given, its output written
    // (the program's own calls std::_Exit). Unset, or where it returns, Run
    // waits for those threads.
    std::function<void(int code)> abandon;
    // Where set, each mailbox is read through a source it makes (a test's,
    // which blocks until released); else through a reader of the store's.
    std::function<std::unique_ptr<FolderSource>()> makeSource;
    // Where set, a mailbox's canonical path is worked out through it (a
    // test's, which counts); else Directory::Canonical.
    std::function<std::string(const std::string& path)> canonical;

    static ReportEnvironment OfProcess();
};

// foldscan-report: the panel's analysis of one mailbox or many, on the
// command line.
class ReportProgram {
public:
    // With --monitor the exit code is the status, 0 to 3 (MonitorState), and
    // any failure is MonitorUnknown.
    enum ExitCode { Success = 0, FindingsFound = 1, Failure = 2, MonitorUnknown = 3 };

    explicit ReportProgram(ReportEnvironment environment) : environment(std::move(environment)) {}

    // args without the program's name. The report goes to out, messages and
    // the progress line to err. Failure for a bad option (nothing is
    // scanned), for a mailbox that cannot be read, a state file or history
    // that cannot be read or written (the other mailboxes are reported
    // first), for output that cannot be written and for want of memory;
    // else FindingsFound when --check found anything; else Success.
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    int RunOnce(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, RunWatch& watch) const;
    int Report(ReportOptions& options, const ReportTexts& texts, std::ostream& out, std::ostream& err,
               RunWatch* watch) const;
    int Watched(std::shared_ptr<ReportOptions> options, std::shared_ptr<const ReportTexts> texts, std::ostream& out,
                std::ostream& err, RunWatch& watch) const;
    int Monitor(const ReportRun& run, GrowthSource& growth, const std::string& started, std::ostream& out) const;
    std::vector<MailboxReport> ScanAll(const ReportOptions& options, const ReportTexts& texts, GrowthSource& growth,
                                       std::ostream& err, RunWatch* watch) const;

    ReportEnvironment environment;
};
