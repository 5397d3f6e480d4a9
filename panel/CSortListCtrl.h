#pragma once

#include "platform/CListCtrl.h"
#include "platform/CSortArrow.h"
#include "store/SortRule.h"

#include <string>
#include <vector>

// A report list whose items are references to records: the text of each cell
// is asked for when the control draws it, and sorting compares the records,
// never the control's text. Derived classes say how to show and compare them.
class CSortListCtrl : public CListCtrl {
public:
    int AddColumn(int position, UINT titleId, int format, int width);
    int AddItem(const void* data, int index = -1);

    bool SetColumnWidths(const int* widths, int n);
    bool GetColumnWidths(int* widths, int n) const;

    // Stores the sort state without sorting; the column is clamped to the columns there are.
    // The header's arrow follows the sort state at once, here and in Resort.
    void SetSort(int column, int direction);
    // Sorts again; a column other than -1 that is not the sort column becomes it, ascending.
    void Resort(int column);

    int SortColumn() const { return rule.sortColumn; }
    int Descending() const { return rule.descending; }

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
    void OnDeleteItem(const NMLISTVIEW& item);

    SortRule rule;
    bool notifyDelete = true;

private:
    static int CALLBACK CompareCallback(LPARAM first, LPARAM second, LPARAM list);
    static LRESULT CALLBACK SystemKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void SortNow();
    void ShowSortArrow();

    CSortArrow sortArrow;
    std::vector<int> displayOrder;  // the column order while a sort runs
    WNDPROC controlProc = nullptr;  // the control's own procedure while keys are reported
    unsigned keyDownReports = 0;
};
