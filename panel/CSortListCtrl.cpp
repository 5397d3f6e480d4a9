#include "panel/CSortListCtrl.h"

#include "platform/CaseFold.h"

#include <cstring>

int CSortListCtrl::AddColumn(int position, const std::string& title, int format, int width) {
    return InsertColumn(position, title.c_str(), format, width);
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
    if (RowCount() < 2) return;
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

void CSortListCtrl::SortNow() {
    sortedOrder = ColumnOrder();
    SortRows(sortedOrder);
    Invalidate(false);
    int selected = NextItem(-1, LVNI_SELECTED);
    if (selected >= 0) EnsureVisible(selected);
}

void CSortListCtrl::OnGetDispInfo(NMLVDISPINFOA& request) const {
    LVITEMA& item = request.item;
    if (item.iItem < 0 || item.iItem >= RowCount() || !(item.mask & LVIF_TEXT) || !item.pszText ||
        item.cchTextMax <= 0)
        return;
    std::string text = CellText(item.iItem, item.iSubItem);
    size_t room = static_cast<size_t>(item.cchTextMax) - 1;
    size_t length = text.size() < room ? text.size() : room;
    std::memcpy(item.pszText, text.data(), length);
    item.pszText[length] = '\0';
}

// The search starts at start and, with LVFI_WRAP, goes on from the top, as
// the control's own search of a list that holds its rows does.
int CSortListCtrl::FindRow(int start, UINT flags, const std::string& wanted) const {
    const int count = RowCount();
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || count == 0) return -1;
    if (start < 0 || start >= count) start = 0;
    const int end = (flags & LVFI_WRAP) ? start + count : count;
    for (int i = start; i < end; ++i)
        if (MatchesFolded1252(CellText(i % count, 0), wanted, (flags & LVFI_PARTIAL) != 0)) return i % count;
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
    case LVN_ODFINDITEMA: {
        const NMLVFINDITEMA& find = reinterpret_cast<NMLVFINDITEMA&>(header);
        result = find.lvfi.psz ? FindRow(find.iStart, find.lvfi.flags, find.lvfi.psz) : -1;
        return true;
    }
    case LVN_ODFINDITEMW: {
        // Wine's control asks in this form whatever its parent's. A text
        // that code page 1252 cannot hold is no row's.
        const NMLVFINDITEMW& find = reinterpret_cast<NMLVFINDITEMW&>(header);
        char wanted[MAX_PATH] = {};
        BOOL lossy = FALSE;
        bool converted = find.lvfi.psz && ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, find.lvfi.psz, -1, wanted,
                                                                MAX_PATH, nullptr, &lossy) > 0;
        result = converted && !lossy ? FindRow(find.iStart, find.lvfi.flags, wanted) : -1;
        return true;
    }
    default:
        return false;
    }
}
