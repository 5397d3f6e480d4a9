#pragma once

#include "platform/CListCtrl.h"
#include "platform/CSortArrow.h"
#include "platform/ScreenDpi.h"
#include "store/SortRule.h"

#include <string>
#include <vector>

// A report list whose rows a derived class keeps, each a reference to a
// record: the text of each cell is asked for when the control draws it, and
// sorting compares the records, never the control's text. Derived classes
// say how many rows there are, how to show one and how to sort them.
//
// The control is a virtual list (LVS_OWNERDATA) and holds no rows of its
// own. An item of the control's own costs about 1,400 bytes under Wine,
// which for a large mailbox would be most of the panel's memory.
class CSortListCtrl : public CListCtrl {
public:
    int AddColumn(int position, const std::string& title, int format, int width);

    bool SetColumnWidths(const int* widths, int n);
    bool GetColumnWidths(int* widths, int n) const;

    // Stores the sort state without sorting; the column is clamped to the columns there are.
    // The header's arrow follows the sort state at once, here and in Resort.
    void SetSort(int column, int direction);
    // Sorts again; a column other than -1 that is not the sort column becomes it, ascending.
    void Resort(int column);
    // Whether the columns were dragged into another order since the last sort.
    bool ColumnsMoved() const { return ColumnOrder() != sortedOrder; }

    // The screen resolution the columns are measured at. The header's arrow
    // is drawn again at its size for it.
    void SetDpi(int screenDpi);
    int Dpi() const { return dpi; }

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

    // The control reports keys typed with Alt held (WM_SYSKEYDOWN) to its
    // parent as key-down notifications too, so that Alt shortcuts reach the
    // parent like the Ctrl ones. Call once the control is bound.
    bool ReportSystemKeys();

    // The rows, in the order shown.
    virtual int RowCount() const = 0;

protected:
    virtual std::string CellText(int row, int column) const = 0;
    // Orders the rows by rule, with the columns shown in displayOrder.
    virtual void SortRows(const std::vector<int>& displayOrder) = 0;

    SortRule rule;

private:
    static LRESULT CALLBACK SystemKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnColumnClick(int column);
    void OnGetDispInfo(NMLVDISPINFOA& request) const;
    // Type-ahead, and LVM_FINDITEM from another module, which the control
    // hands on: the first row from start on whose first column is wanted.
    int FindRow(int start, UINT flags, const std::string& wanted) const;
    void SortNow();
    void ShowSortArrow() { sortArrow.Show(Header(), rule.sortColumn, rule.descending != 0); }

    CSortArrow sortArrow;
    int dpi = ScreenDpi::Standard;
    std::vector<int> sortedOrder;  // the display order the rows were last sorted by
    WNDPROC controlProc = nullptr;  // the control's own procedure while keys are reported
    unsigned keyDownReports = 0;
};
