#pragma once

#include "report/model/MonitorCheck.h"
#include "report/writers/ReportWriter.h"

#include <string>

// The status of --monitor as monitoring plugins write theirs: a first line
// "FOLDSCAN OK|WARNING|CRITICAL|UNKNOWN - " with a short summary that names
// the worst mailboxes, then " | " and one performance value per mailbox,
// "'label'=VALUEB;WARN;CRIT;0;" (a total not known is "U"), with growth
// thresholds a second, "'label growth'=CHANGEB;WARN;CRIT;;"; then one line
// per mailbox over a threshold. No text holds a "|" (shown as U+00A6), which
// would begin performance data, nor a control character.
class MonitorWriter : public ReportWriter {
public:
    // runFailed: the state file or the history could not be read or written.
    explicit MonitorWriter(bool runFailed) : runFailed(runFailed) {}
    void Write(const ReportRun& run, std::ostream& out) const override;

    // A run that ended before it had a status: UNKNOWN, and in place of the
    // summary what ended it, which the run says last (before the pointer to
    // --help after a bad command line): the time run out, a file refused, a
    // history that cannot be read. What it said on its way (a mailbox named
    // twice, a directory passed over) follows in its order.
    static void WriteUnknown(const std::string& messages, std::ostream& out);
    // What a run said beside its status, as lines after the status.
    static void WriteMessages(const std::string& messages, std::ostream& out);

    // A mailbox's label in the performance data: in single quotes, a quote
    // doubled; "=", which no label may hold, as "_".
    static std::string Label(const std::string& utf8);
    static const char* StateName(MonitorState state);

private:
    bool runFailed;
};
