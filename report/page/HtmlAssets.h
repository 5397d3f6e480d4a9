#pragma once

// The HTML page's inline style sheet and script.
namespace HtmlAssets {

const char* Style();

// Draws the rows of every table from the page's data (see HtmlData): in
// windows of rows, only for tables that are in view in an open section.
// Sorts as the panel sorts when a column heading is clicked (a second click
// reverses the order), filters every table by file name or folder name,
// opening the sections with matches, and opens a section its link leads to.
const char* Script();

}  // namespace HtmlAssets
