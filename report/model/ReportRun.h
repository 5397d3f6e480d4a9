#pragma once

#include "report/model/MailboxReport.h"
#include "report/model/Overview.h"
#include "report/model/ReportOptions.h"
#include "report/text/ReportTexts.h"

#include <cstdint>
#include <string>
#include <vector>

// One run's results as the writers see them: every mailbox in the order
// given, the options and the texts, and the overview made of them.
struct ReportRun {
    // generatedAt: when the run started (UTC); now when not given.
    ReportRun(const ReportOptions& options, const ReportTexts& texts, const std::vector<MailboxReport>& mailboxes,
              std::string generatedAt = std::string());

    const ReportOptions& options;
    const ReportTexts& texts;
    const std::vector<MailboxReport>& mailboxes;
    std::vector<size_t> ranked;          // the readable mailboxes, largest first, or by growth
    std::vector<Overview::TopRow> top;   // with --top: by size, or with --sort growth by growth
    std::string generatedAt;             // UTC

    // Growth since an earlier run: from the state file, or from the history.
    bool Growth() const { return !options.stateFile.empty() || options.historyGrowth; }
    // The formats for people show the overview when there is more than one
    // mailbox; JSON always has it.
    bool ShowOverview() const { return mailboxes.size() > 1; }
    // Whether a row is listed: --min-size leaves smaller ones out.
    bool Listed(const ReportRow& row) const { return row.record.size >= options.minSize; }
    // The rows of a mailbox that --min-size leaves out.
    size_t Hidden(const MailboxReport& mailbox) const;

    // Over the mailboxes that count: read, and not gone.
    size_t GetReadableCount() const;
    uint64_t GetCount() const;
    uint64_t GetTotal() const;

    // A size in the form asked for (--exact or --compact).
    std::string Size(uint64_t bytes) const { return texts.Size(bytes, options.compact); }
    // A row's share of its mailbox, in tenths of a percent.
    static unsigned Share(const MailboxReport& mailbox, const ReportRow& row) {
        return Overview::Permille(row.record.size, mailbox.total);
    }
    // What the growth column shows people for a row: empty without an
    // earlier run and where nothing changed, "neu" for a folder the earlier
    // run did not see, else the change.
    std::string GrowthText(const MailboxReport& mailbox, const ReportRow& row) const;
    // The line under a mailbox's summary: its growth since the earlier run
    // (in local time), or why there is none.
    std::string GrowthLine(const MailboxReport& mailbox) const;
    // The mailbox path as given, as UTF-8.
    static std::string PathText(const MailboxReport& mailbox);

    // Growth where the administrator looks.
    // Whether any mailbox was compared with an earlier run.
    bool AnyCompared() const;
    // The change of all compared mailboxes' totals together.
    int64_t TotalGrowth() const;
    // A mailbox's change as the overview shows it, "+1,2 MB (+3,4 %)";
    // empty when it was not compared.
    std::string OverviewGrowth(const MailboxReport& mailbox) const;
    // The line of the totals, with the total growth where there is one.
    std::string TotalLine() const;
    // "Erstellt: 2026-11-30 09:00", in local time.
    std::string GeneratedLine() const;
    // The one note on the mailboxes whose history reached back less far
    // than --growth-since asked, naming them (up to five) and what each is
    // compared with; empty when none.
    std::string HistoryNote() const;
    // With --from-history: when the mailbox was recorded, and since when it
    // is gone where it is.
    std::string RecordedLine(const MailboxReport& mailbox) const;
    // "nicht mehr gefunden seit 2026-11-25" for a mailbox gone; else empty.
    std::string GoneMark(const MailboxReport& mailbox) const;
    // The heading of the --top list: the largest, or those that grew or
    // shrank most.
    std::string TopHeading() const;
    // What happened to the folders that left or moved, one line each.
    std::vector<std::string> RemovedLines(const MailboxReport& mailbox) const;
};
