#pragma once

#include <ostream>

struct ReportRun;

// The rows of the HTML page's tables as one compact JSON document, which the
// page's script renders on demand: a table of 20,000 pre-built rows would
// make the page slow to load and to sort.
//
//   texts, lang, decimal,    what the script says, and how it writes a share,
//   percent                  a size and a date
//   growth                   whether rows carry a growth column
//   runs                     the start of every run in a line of totals, in
//                            seconds since 1970, in order
//   paths                    folder paths as [parent, tail, ...]; path k > 0
//                            is path parent followed by tail, path 0 empty
//   mailboxes[m].path        the mailbox as shown
//   mailboxes[m].series      its total over the runs: pairs of a place in
//                            runs and the total then
//   mailboxes[m].rows        the listed rows, flat, Stride (or GrowthStride)
//                            values each: file name, size text, share in
//                            tenths of a percent, folder path, folder name,
//                            the row's rank by file name, by size, by folder
//                            name, then the growth text and rank by growth
//   top                      with --top: mailbox, file name, size text, share
//                            of all, folder path, folder name, and with
//                            growth the growth text
//
// Texts are for people: control and bidirectional formatting characters show
// as U+FFFD. Ranks are places in ascending order with the panel's ties.
class HtmlData {
public:
    static constexpr int Stride = 8;
    static constexpr int GrowthStride = 10;
    static constexpr int TopStride = 6;

    static void Write(const ReportRun& run, std::ostream& out);
};
