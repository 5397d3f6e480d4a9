#pragma once

#include "platform/CListCtrl.h"
#include "platform/CSortArrow.h"
#include "platform/ScreenDpi.h"
#include "store/SortRule.h"

#include <string>
#include <vector>

// A report list whose rows are references to records: the text of each cell
// is asked for when the control draws it, and sorting compares the records,
// never the control's text. Derived classes say how to show and compare them.
//
// The control is a virtual list (LVS_OWNERDATA): the rows, in the order
// shown, are kept here as one pointer each, and the control holds none of its
// own. An item of the control's own costs about 1,400 bytes under Wine, which
// for a large mailbox would be most of the panel's memory.
class CSortListCtrl : public CListCtrl {
public:
    int AddColumn(int position, const std::string& title, int format, int width);
    // Replaces every row, in the order given; rows AcceptItem refuses are left out.
    void SetItems(std::vector<const void*> data);
    // Removes every row, handing each to OnDeleteItemData where notifyDelete is set.
    void RemoveAllItems();
    int ItemCount() const { return static_cast<int>(items.size()); }
    // The record shown in a row; null outside the rows.
    const void* ItemData(int row) const;
    // The row that shows a record, or -1.
    int FindItem(const void* data) const;

    bool SetColumnWidths(const int* widths, int n);
    bool GetColumnWidths(int* widths, int n) const;

    // Stores the sort state without sorting; the column is clamped to the columns there are.
    // The header's arrow follows the sort state at once, here and in Resort.
    void SetSort(int column, int direction);
    // Sorts again; a column other than -1 that is not the sort column becomes it, ascending.
    void Resort(int column);

    // The screen resolution the columns are measured at. The header's arrow
    // is drawn again at its size for it.
    void SetDpi(int screenDpi);
    int Dpi() const { return dpi; }

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

    // The control reports keys typed with Alt held (WM_SYSKEYDOWN) to its
    // parent as key-down notifications too, so that Alt shortcuts reach the
    // parent like the Ctrl ones. Call once the control is bound.
    bool ReportSystemKeys();

protected:
    virtual int CompareItems(const void* first, const void* second, int column) const = 0;
    virtual std::string GetCellText(const void* data, int column) const = 0;
    virtual bool AcceptItem(const void* data) const { return true; }
    virtual void OnDeleteItemData(const void* data) {}

    void OnColumnClick(int column);
    void OnGetDispInfo(NMLVDISPINFOA& request) const;
    // Typing in the list finds the next row whose first column begins so.
    int OnFindItem(const NMLVFINDITEMA& request) const;

    SortRule rule;
    bool notifyDelete = true;

private:
    static LRESULT CALLBACK SystemKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void SortNow();
    void ShowSortArrow() { sortArrow.Show(Header(), rule.sortColumn, rule.descending != 0); }

    CSortArrow sortArrow;
    int dpi = ScreenDpi::Standard;
    std::vector<const void*> items;  // the rows, in the order shown
    WNDPROC controlProc = nullptr;  // the control's own procedure while keys are reported
    unsigned keyDownReports = 0;
};
