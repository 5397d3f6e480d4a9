#pragma once

#include <ostream>

class MailboxReport;
struct ReportRun;

// One mailbox's folders and tree as a JSON document that the page's script
// reads only when the mailbox's section opens or the filter first runs. Its
// folders are columns, in the order of the file name column (so that the
// script sorts by any column without comparing names it cannot order as the
// panel does); all of them, since the treemap counts those --min-size does
// not list.
//
//   total      the mailbox's total, for the rows' shares
//   names      the file names, front-coded (FrontCoding), or an array
//   sizes      their sizes in bytes: numbers, or strings beyond 2^53
//   nodes      the tree node each hangs on, 1-based in the tree's listing
//   texts      [row, text, ...] for the folders whose shown name is not
//              their node's (see tree.prefixes)
//   order      where shown names do not come back to code page 1252 in the
//              script, each row's place by the folder column
//   tree.up    per node in the listing (parents before children, siblings
//              in order): its parent's depth + 1 - its own depth; a string
//              of base 36 digits where each is below 36, their count
//              where all nodes are at the top
// Lists without entries (texts, prefixes, dates) are left out.
//   tree.names the nodes' names, front-coded, or an array
//   tree.prefixes [node, text, ...]: what a node's children's shown names
//              start with where it is not its own shown name and "\"; a
//              node's shown name is its parent's prefix and its name, the
//              mailbox's prefix empty
//   compared   with growth: whether an earlier run saw the mailbox
//   changes    [gap, change, ...]: the rows whose size changed, each the
//              number of rows after the one before it, and the change
//   added      [gap, date, ...]: the rows the earlier run did not see, with
//              the place of the date they first came in dates, or -1
//   dates      those dates, in local time
class MailboxData {
public:
    static void Write(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out);
};
