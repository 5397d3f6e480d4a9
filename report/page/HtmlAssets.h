#pragma once

// The HTML page's inline style sheet and script.
namespace HtmlAssets {

const char* Style();

// Draws the rows of every table from the page's data (see HtmlData): in
// windows of rows, only for tables that are in view in an open section.
// Sorts as the panel sorts when a column heading is clicked (a second click
// reverses the order), filters every table by file name or folder name
// (hiding the overview's rows and the sections without a match, opening and
// drawing the others at once, the first match brought into view), and opens
// a section its link leads to. Draws the lines of totals over time: one in
// each overview row, a chart with a point per run in a section once it opens.
const char* Script();

}  // namespace HtmlAssets
