#pragma once

#include <ostream>
#include <string>
#include <vector>

class GrowthSource;
class MailboxReport;
struct ReportOptions;
class ReportTexts;

// What the report takes from its surroundings, apart from its arguments.
struct ReportEnvironment {
    std::string locale;            // the first of LC_ALL, LC_MESSAGES and LANG that is set
    bool errorIsTerminal = false;  // a progress line may be drawn
    unsigned processors = 1;

    static ReportEnvironment OfProcess();
};

// foldscan-report: the panel's analysis of one mailbox or many, on the
// command line.
class ReportProgram {
public:
    enum ExitCode { Success = 0, FindingsFound = 1, Failure = 2 };

    explicit ReportProgram(ReportEnvironment environment) : environment(std::move(environment)) {}

    // args without the program's name. The report goes to out, messages and
    // the progress line to err. Failure for a bad option (nothing is
    // scanned), for a mailbox that cannot be read, a state file or history
    // that cannot be read or written (the other mailboxes are reported
    // first), for output that cannot be written and for want of memory;
    // else FindingsFound when --check found anything; else Success.
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    int Report(ReportOptions& options, const ReportTexts& texts, std::ostream& out, std::ostream& err) const;
    std::vector<MailboxReport> ScanAll(const ReportOptions& options, const ReportTexts& texts, GrowthSource& growth,
                                       std::ostream& err) const;

    ReportEnvironment environment;
};
