#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Reads what the panel shows through the list view's own messages, as a
// screen reader would: column titles and cells in display order, rows top to
// bottom, and the summary line. Texts are the panel's code-page-1252 bytes.
class PanelReader {
public:
    explicit PanelReader(HWND panel);

    std::vector<std::string> ColumnTitles() const;  // in display order
    std::vector<int> DisplayOrder() const;          // the column index at each position
    int RowCount() const;
    std::vector<std::string> Row(int index) const;  // cells in display order
    std::string Cell(int row, int column) const;    // by column index
    std::string Summary() const;
    HWND List() const { return list; }

    // The whole dump: "columns", "row" and "summary" lines, tab-separated.
    std::string Dump() const;

private:

    HWND panel;
    HWND list;
};
