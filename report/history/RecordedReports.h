#pragma once

#include <string>
#include <vector>

class HistoryStore;
class MailboxReport;
struct ReportOptions;
class ReportTexts;

// --from-history: the report from the history alone. Each mailbox as its
// latest run recorded it, compared with the run ComparisonRule chooses
// among the ones before, as a MailboxReport that the writers take as they
// take a scanned one. A mailbox that a later run looked for in its place
// and did not find is gone: it comes after the others, marked so.
class RecordedReports {
public:
    // The mailboxes with these keys, in their order, or where there are
    // none every mailbox the history knows, by path. Keys the history does
    // not know are left out, their indices in unknown. False on a problem
    // of the store.
    static bool Read(HistoryStore& store, const ReportOptions& options, const ReportTexts& texts,
                     const std::vector<std::string>& keys, std::vector<MailboxReport>& reports,
                     std::vector<size_t>& unknown);
};
