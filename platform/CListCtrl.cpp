#include "platform/CListCtrl.h"

int CListCtrl::InsertColumn(int position, const char* title, int format, int width) const {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = position;
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::ColumnCount() const {
    HWND header = Header();
    return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int CListCtrl::ColumnWidth(int column) const {
    return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

bool CListCtrl::SetColumnWidth(int column, int width) const {
    return Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
}

std::vector<int> CListCtrl::ColumnOrder() const {
    std::vector<int> order(static_cast<size_t>(ColumnCount()));
    if (!order.empty() &&
        !Send(LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()))) {
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    }
    return order;
}

bool CListCtrl::SetColumnOrder(const std::vector<int>& order) const {
    return Send(LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data())) != 0;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) const {
    return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, style));
}

bool CListCtrl::SetVirtualItemCount(int count, DWORD flags) const {
    return Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), flags) != 0;
}

bool CListCtrl::SetItemState(int index, UINT state, UINT mask) const {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

int CListCtrl::NextItem(int start, UINT flags) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

bool CListCtrl::EnsureVisible(int index) const {
    return Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE) != 0;
}

bool CListCtrl::ScrollToTop(int index) const {
    int current = TopIndex();
    if (index == current) return true;
    // An empty list has no row to measure, and cannot scroll.
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row))) return false;
    int height = row.bottom - row.top;
    return Send(LVM_SCROLL, 0, (index - current) * height) != 0;
}
