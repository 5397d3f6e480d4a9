#pragma once

#include "report/MailboxReport.h"
#include "report/ReportOptions.h"
#include "report/ReportTexts.h"

#include <cstdint>
#include <string>
#include <vector>

// One run's results as the writers see them: every mailbox in the order
// given, the options and the texts.
struct ReportRun {
    const ReportOptions& options;
    const ReportTexts& texts;
    const std::vector<MailboxReport>& mailboxes;

    bool Growth() const { return !options.stateFile.empty(); }
    // Over the mailboxes that could be read.
    size_t ReadableCount() const;
    uint64_t Count() const;
    uint64_t Total() const;

    // A size in the form asked for (--exact or --compact).
    std::string Size(uint64_t bytes) const { return texts.Size(bytes, options.compact); }
    // What the growth column shows for a row: empty without an earlier
    // state, "neu" for a folder the earlier run did not see, else the change.
    std::string GrowthText(const MailboxReport& mailbox, const ReportRow& row) const;
    // The mailbox path as given, as UTF-8.
    static std::string PathText(const MailboxReport& mailbox);
};
