#pragma once

#include "platform/CControl.h"

#include <commctrl.h>

#include <vector>

// A view of a report-style list-view control: one typed message per method.
class CListCtrl : public CControl {
public:
    int InsertColumn(int position, const char* title, int format, int width) const;
    HWND Header() const;
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width) const;
    std::vector<int> ColumnOrder() const;
    bool SetColumnOrder(const std::vector<int>& order) const;
    DWORD SetExtendedStyle(DWORD style) const;

    // Inserts an item whose text the control asks for when it draws it.
    int InsertCallbackItem(int index, LPARAM data) const;
    int ItemCount() const;
    bool SetItemCountHint(int count) const;
    LPARAM ItemData(int index) const;
    // The index of the item whose data is data, or -1.
    int FindItemByData(LPARAM data) const;
    bool DeleteAllItems() const;
    bool SetItemState(int index, UINT state, UINT mask) const;
    int NextItem(int start, UINT flags) const;
    bool EnsureVisible(int index) const;
    bool SortItems(PFNLVCOMPARE compare, LPARAM context) const;

    int TopIndex() const;
    bool ScrollToTop(int index) const;

    void SetRedraw(bool redraw) const;
};
