#pragma once

// The HTML page's inline style sheet and script.
namespace HtmlAssets {

const char* Style();

// The page's script (page/script/*.js, built in by CMake). Draws a section's
// treemap, chart, rows and tree when it opens, from the mailbox's own data
// (see MailboxData), the rows in windows and only for tables that are in
// view. Sorts as the panel sorts when a column heading is clicked (a second
// click reverses the order), filters by a mailbox's name and by file name or
// folder name (hiding the overview's rows and the sections without a match,
// opening the others, the first match drawn at once and brought into view),
// and opens a section its link leads to. Draws the lines of totals over
// time: one in each overview row as it comes into view, a chart with a point
// per run in a section.
const char* Script();

}  // namespace HtmlAssets
