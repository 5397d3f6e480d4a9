#include "panel/CSortListCtrl.h"

#include "platform/CModuleApp.h"

#include <cstring>

int CSortListCtrl::AddColumn(int position, UINT titleId, int format, int width) {
    std::string title = CModuleApp::Current()->LoadString(titleId);
    return InsertColumn(position, title.c_str(), format, width);
}

int CSortListCtrl::AddItem(const void* data, int index) {
    if (!AcceptItem(data)) return -1;
    return InsertCallbackItem(index, reinterpret_cast<LPARAM>(data));
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

void CSortListCtrl::OnColumnClick(int column) {
    if (column == rule.sortColumn) {
        rule.descending = rule.descending ? 0 : 1;
    } else {
        rule.sortColumn = column;
        rule.descending = 0;
    }
    ShowSortArrow();
    SortNow();
}

void CSortListCtrl::ShowSortArrow() { sortArrow.Show(Header(), rule.sortColumn, rule.descending != 0); }

void CSortListCtrl::SortNow() {
    // The display order cannot change while the control sorts, so it is read
    // once here instead of on every comparison.
    displayOrder = ColumnOrder();
    SortItems(CompareCallback, reinterpret_cast<LPARAM>(this));
    int selected = NextItem(-1, LVNI_SELECTED);
    if (selected >= 0) EnsureVisible(selected);
}

int CALLBACK CSortListCtrl::CompareCallback(LPARAM first, LPARAM second, LPARAM list) {
    const CSortListCtrl* self = reinterpret_cast<const CSortListCtrl*>(list);
    try {
        return self->rule.Compare(reinterpret_cast<const void*>(first), reinterpret_cast<const void*>(second),
                                  self->displayOrder, [self](const void* a, const void* b, int column) {
                                      return self->CompareItems(a, b, column);
                                  });
    } catch (...) {
        return 0;  // nothing may unwind through the control's sort
    }
}

void CSortListCtrl::OnGetDispInfo(NMLVDISPINFOA& request) const {
    LVITEMA& item = request.item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    std::string text = GetCellText(reinterpret_cast<const void*>(item.lParam), item.iSubItem);
    size_t room = static_cast<size_t>(item.cchTextMax) - 1;
    size_t length = text.size() < room ? text.size() : room;
    std::memcpy(item.pszText, text.data(), length);
    item.pszText[length] = '\0';
}

void CSortListCtrl::OnDeleteItem(const NMLISTVIEW& item) {
    if (notifyDelete) OnDeleteItemData(reinterpret_cast<const void*>(item.lParam));
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
    case LVN_DELETEITEM:
        OnDeleteItem(reinterpret_cast<NMLISTVIEW&>(header));
        result = 0;
        return true;
    default:
        return false;
    }
}
