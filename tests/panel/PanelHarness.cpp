#include "tests/panel/PanelHarness.h"

#include <commctrl.h>

#include <cstring>

namespace {

const char HostClass[] = "FoldscanTestHost";
const int ListId = 24001;
const int SummaryId = 24002;

void Answer(const std::string& text, WPARAM capacity, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    size_t n = text.size() < capacity ? text.size() : capacity;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

}  // namespace

PanelHarness::PanelHarness() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = HostClass;
    ::RegisterClassA(&windowClass);
    host = ::CreateWindowExA(0, HostClass, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 700, 600, nullptr,
                             nullptr, windowClass.hInstance, this);
    module = ::LoadLibraryA("foldscan.dll");
    if (module)
        formInit = reinterpret_cast<FormInit>(reinterpret_cast<void*>(::GetProcAddress(module, "FORMINIT")));
}

PanelHarness::~PanelHarness() {
    Close();
    if (host) ::DestroyWindow(host);
    HandlePending();
    if (module) ::FreeLibrary(module);
}

HWND PanelHarness::List() const { return ::GetDlgItem(panel, ListId); }

bool PanelHarness::Open() {
    if (!formInit || !formInit(0, 0, host, 0, &panel, 0)) return false;
    ::ShowWindow(panel, SW_SHOW);
    Send(0x0B09);
    HandlePending();
    return true;
}

void PanelHarness::Close() {
    if (panel && ::IsWindow(panel)) ::DestroyWindow(panel);
    panel = nullptr;
    HandlePending();
}

LRESULT PanelHarness::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(panel, message, wParam, lParam);
}

void PanelHarness::Command(int id) const {
    Send(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    HandlePending();
}

void PanelHarness::ClickColumn(int column) const {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = List();
    click.hdr.idFrom = ListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    Send(WM_NOTIFY, ListId, reinterpret_cast<LPARAM>(&click));
    HandlePending();
}

void PanelHarness::HandlePending() const {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

std::vector<int> PanelHarness::Order() const {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(List(), LVM_GETHEADER, 0, 0));
    std::vector<int> order(static_cast<size_t>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)));
    ::SendMessageA(List(), LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

std::vector<int> PanelHarness::Widths() const {
    std::vector<int> widths;
    for (size_t column = 0; column < Order().size(); ++column)
        widths.push_back(static_cast<int>(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0)));
    return widths;
}

std::vector<std::string> PanelHarness::Titles() const {
    std::vector<std::string> titles;
    for (int column : Order()) {
        char text[128] = {};
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        ::SendMessageA(List(), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
        titles.push_back(text);
    }
    return titles;
}

std::vector<std::string> PanelHarness::Column(int index) const {
    std::vector<std::string> cells;
    int rows = static_cast<int>(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        char text[1024] = {};
        LVITEMA item{};
        item.iSubItem = index;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        cells.push_back(text);
    }
    return cells;
}

std::vector<std::vector<std::string>> PanelHarness::Rows() const {
    std::vector<std::vector<std::string>> rows;
    std::vector<int> order = Order();
    std::vector<std::vector<std::string>> columns;
    for (size_t column = 0; column < order.size(); ++column) columns.push_back(Column(static_cast<int>(column)));
    size_t count = columns.empty() ? 0 : columns[0].size();
    for (size_t row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column : order) cells.push_back(columns[static_cast<size_t>(column)][row]);
        rows.push_back(cells);
    }
    return rows;
}

std::string PanelHarness::Summary() const {
    char text[1024] = {};
    ::GetDlgItemTextA(panel, SummaryId, text, sizeof text);
    return text;
}

RECT PanelHarness::PanelRect() const {
    RECT rect{};
    ::GetWindowRect(panel, &rect);
    ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LRESULT CALLBACK PanelHarness::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PanelHarness*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == 3046) {
        Answer(self->mailbox, wParam, lParam);
        return 0;
    }
    if (self && message == 3045) {
        Answer(self->newmail, wParam, lParam);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
