#include "panel/CSortListCtrl.h"

#include "platform/CaseFold.h"

#include <algorithm>
#include <cstring>

int CSortListCtrl::AddColumn(int position, const std::string& title, int format, int width) {
    return InsertColumn(position, title.c_str(), format, width);
}

void CSortListCtrl::SetItems(std::vector<const void*> data) {
    data.erase(std::remove_if(data.begin(), data.end(), [this](const void* row) { return !AcceptItem(row); }),
               data.end());
    items.swap(data);
    SetVirtualItemCount(ItemCount(), LVSICF_NOSCROLL);
}

void CSortListCtrl::RemoveAllItems() {
    std::vector<const void*> gone;
    gone.swap(items);
    SetVirtualItemCount(0, 0);
    if (notifyDelete)
        for (const void* row : gone) OnDeleteItemData(row);
}

const void* CSortListCtrl::ItemData(int row) const {
    return row >= 0 && row < ItemCount() ? items[static_cast<size_t>(row)] : nullptr;
}

int CSortListCtrl::FindItem(const void* data) const {
    auto at = std::find(items.begin(), items.end(), data);
    return at == items.end() ? -1 : static_cast<int>(at - items.begin());
}

bool CSortListCtrl::SetColumnWidths(const int* widths, int n) {
    for (int column = 0; column < n; ++column)
        if (!SetColumnWidth(column, widths[column] & 0xFFFF)) return false;
    return true;
}

bool CSortListCtrl::GetColumnWidths(int* widths, int n) const {
    int count = ColumnCount();
    if (count == 0) return false;
    if (n < 0) n = count;
    for (int column = 0; column < n; ++column) widths[column] = ColumnWidth(column);
    return true;
}

void CSortListCtrl::SetSort(int column, int direction) {
    rule.sortColumn = SortRule::ClampColumn(column, ColumnCount());
    rule.descending = direction;
    ShowSortArrow();
}

void CSortListCtrl::Resort(int column) {
    if (column != -1 && column != rule.sortColumn) {
        rule.sortColumn = column;
        rule.descending = 0;
        ShowSortArrow();
    }
    if (ItemCount() < 2) return;
    SortNow();
}

// A click on the sort column turns its order round; another column sorts ascending.
void CSortListCtrl::OnColumnClick(int column) {
    SetSort(column, column == rule.sortColumn && !rule.descending ? 1 : 0);
    SortNow();
}

void CSortListCtrl::SetDpi(int screenDpi) {
    dpi = screenDpi;
    sortArrow.SetPixels(ScreenDpi::Scale(CSortArrow::DefaultPixels, dpi));
    if (IsWindow()) ShowSortArrow();
}

// The comparisons allocate nothing and never throw, so they order the rows
// consistently; the display order cannot change during a sort.
void CSortListCtrl::SortNow() {
    const std::vector<int> displayOrder = ColumnOrder();
    auto compare = [this](const void* a, const void* b, int column) { return CompareItems(a, b, column); };
    std::sort(items.begin(), items.end(), [&](const void* a, const void* b) {
        return rule.Compare(a, b, displayOrder, compare) < 0;
    });
    Invalidate(false);
    int selected = NextItem(-1, LVNI_SELECTED);
    if (selected >= 0) EnsureVisible(selected);
}

void CSortListCtrl::OnGetDispInfo(NMLVDISPINFOA& request) const {
    LVITEMA& item = request.item;
    const void* row = ItemData(item.iItem);
    if (!row || !(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    std::string text = GetCellText(row, item.iSubItem);
    size_t room = static_cast<size_t>(item.cchTextMax) - 1;
    size_t length = text.size() < room ? text.size() : room;
    std::memcpy(item.pszText, text.data(), length);
    item.pszText[length] = '\0';
}

int CSortListCtrl::OnFindItem(const NMLVFINDITEMA& request) const {
    const LVFINDINFOA& find = request.lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || items.empty()) return -1;
    const std::string wanted(find.psz);
    const bool partial = (find.flags & LVFI_PARTIAL) != 0;
    const int count = ItemCount();
    const int start = request.iStart >= 0 && request.iStart < count ? request.iStart : 0;
    const int end = (find.flags & LVFI_WRAP) ? start + count : count;
    for (int i = start; i < end; ++i) {
        std::string text = GetCellText(items[static_cast<size_t>(i % count)], 0);
        if (partial ? text.size() >= wanted.size() && CompareFolded(text.substr(0, wanted.size()), wanted) == 0
                    : CompareFolded(text, wanted) == 0)
            return i % count;
    }
    return -1;
}

bool CSortListCtrl::ReportSystemKeys() {
    // The object is found through the window's user data: a window property
    // would cost a round trip to the window server on every message under Wine.
    if (controlProc || !IsWindow() || ::GetWindowLongPtrA(hwnd, GWLP_USERDATA) != 0) return false;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controlProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SystemKeyProc)));
    return controlProc != nullptr;
}

LRESULT CALLBACK CSortListCtrl::SystemKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CSortListCtrl*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    WNDPROC original = self ? self->controlProc : nullptr;
    if (!original) return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->controlProc = nullptr;
        return ::CallWindowProcA(original, window, message, wParam, lParam);
    }
    if (message != WM_SYSKEYDOWN) return ::CallWindowProcA(original, window, message, wParam, lParam);

    // Only when the control itself did not report the key, so that no
    // version of it sees a key twice.
    unsigned before = self->keyDownReports;
    LRESULT result = ::CallWindowProcA(original, window, message, wParam, lParam);
    if (self->keyDownReports == before) {
        NMLVKEYDOWN key{};
        key.hdr.hwndFrom = window;
        key.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(window));
        key.hdr.code = LVN_KEYDOWN;
        key.wVKey = static_cast<WORD>(wParam);
        ::SendMessageA(::GetParent(window), WM_NOTIFY, key.hdr.idFrom, reinterpret_cast<LPARAM>(&key));
    }
    return result;
}

bool CSortListCtrl::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case LVN_KEYDOWN:
        ++keyDownReports;
        return false;  // the parent acts on keys
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        result = 0;
        return true;
    case LVN_GETDISPINFOA:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA&>(header));
        result = 0;
        return true;
    case LVN_ODFINDITEMA:
        result = OnFindItem(reinterpret_cast<NMLVFINDITEMA&>(header));
        return true;
    default:
        return false;
    }
}
