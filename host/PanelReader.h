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

    std::vector<std::string> ColumnTitles() const;
    int RowCount() const;
    std::vector<std::string> Row(int index) const;
    std::string Summary() const;
    HWND List() const { return list; }

    // The whole dump: "columns", "row" and "summary" lines, tab-separated.
    std::string Dump() const;

private:
    std::vector<int> DisplayOrder() const;
    std::string Cell(int row, int column) const;

    HWND panel;
    HWND list;
};
