#pragma once

#include "platform/CControl.h"

#include <commctrl.h>

#include <vector>

// A view of a report-style list-view control: one typed message per method.
class CListCtrl : public CControl {
public:
    int InsertColumn(int position, const char* title, int format, int width) const;
    HWND Header() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width) const;
    std::vector<int> ColumnOrder() const;
    bool SetColumnOrder(const std::vector<int>& order) const;
    DWORD SetExtendedStyle(DWORD style) const;

    // The number of rows of a virtual list (LVS_OWNERDATA), which asks its
    // owner for everything it shows; flags are LVSICF_*.
    bool SetVirtualItemCount(int count, DWORD flags) const;
    bool SetItemState(int index, UINT state, UINT mask) const;
    int NextItem(int start, UINT flags) const;
    bool EnsureVisible(int index) const;

    int TopIndex() const { return static_cast<int>(Send(LVM_GETTOPINDEX)); }
    bool ScrollToTop(int index) const;

    void SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }
};
