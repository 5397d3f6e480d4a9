#pragma once

#include <ostream>

class MailboxNames;
struct ReportRun;

// What the page's script needs from its start, as one small JSON document;
// each mailbox's folders are a document of their own (MailboxData), read
// when they are needed.
//
//   texts, lang, decimal,    what the script says, and how it writes a share
//   percent, compact
//   growth, tree, minSize,   the options the script draws the rows by: with
//   sort, descending         growth, with the tree, the smallest size listed
//                            (a string beyond 2^53), the column the rows are
//                            sorted by and whether descending
//   runs, runTexts           the start of every run in a line of totals, in
//                            seconds since 1970 and as local time, in order
//   series[m]                mailbox m's total over the runs: its first run's
//                            place and total, then for each later one the
//                            steps from the one before
//   names[m]                 mailbox m's name as the overview shows it
//   top                      with --top: mailbox, file name, size text,
//                            share of all in tenths of a percent, shown
//                            folder name, and with growth the growth text
//
// Texts are for people: control and bidirectional formatting characters show
// as U+FFFD.
class HtmlData {
public:
    static void Write(const ReportRun& run, const MailboxNames& names, std::ostream& out);
};
