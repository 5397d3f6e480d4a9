#include "platform/CDialog.h"

#include "platform/CControl.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>

namespace {

std::atomic<CDialog::ExceptionReport> exceptionReport{nullptr};

// Messages whose answer a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

}  // namespace

HINSTANCE CDialog::ResourceModule() {
    static const HINSTANCE module = [] {
        HMODULE self = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCSTR>(&CDialog::DialogProc), &self);
        return self;
    }();
    return module;
}

CDialog::CDialog(UINT templateId, HWND parent) : templateId(templateId), parentWindow(parent) {}

CDialog::~CDialog() {
    if (IsWindow()) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        ::DestroyWindow(hwnd);
    }
    hwnd = nullptr;
}

bool CDialog::Create(HWND parent) {
    parentWindow = parent;
    LPARAM self = reinterpret_cast<LPARAM>(this);
    HWND created = inMemory ? ::CreateDialogIndirectParamA(ResourceModule(), inMemory, parent, DialogProc, self)
                            : ::CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), parent,
                                                   DialogProc, self);
    return created != nullptr;
}

INT_PTR CDialog::RunModalLoop() {
    modalEnded = false;
    modalResult = IDCANCEL;
    // A popup made over a child window is owned by that child's top-level
    // window; that is the one to disable, or the host's frame stays clickable.
    HWND owner = parentWindow ? ::GetAncestor(parentWindow, GA_ROOT) : nullptr;
    bool ownerEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerEnabled) ::EnableWindow(owner, FALSE);
    if (!Create(parentWindow)) {
        if (ownerEnabled) ::EnableWindow(owner, TRUE);
        return -1;
    }
    Show(SW_SHOW);

    modalRunning = true;
    MSG message;
    while (!modalEnded && IsWindow()) {
        BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) {
            modalResult = -1;
            break;
        }
        if (got == 0) {
            // WM_QUIT belongs to the loop outside ours.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        bool taken = false;
        try {
            taken = PreTranslateMessage(message);
        } catch (...) {
            ReportException("[CDialog::RunModalLoop] exception in message pre-translation\n", 0, nullptr);
        }
        if (!taken) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    modalRunning = false;

    // The owner comes back before the dialog goes, so it receives the focus.
    if (ownerEnabled && ::IsWindow(owner)) {
        ::EnableWindow(owner, TRUE);
        if (IsWindow() && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
    }
    if (IsWindow()) ::DestroyWindow(hwnd);
    return modalResult;
}

void CDialog::EndDialog(INT_PTR result) {
    modalResult = result;
    modalEnded = true;
    if (modalRunning) Post(WM_NULL);  // wakes the loop
}

bool CDialog::PreTranslateMessage(MSG& message) {
    return IsWindow() && ::IsDialogMessageA(hwnd, &message) != FALSE;
}

HWND CDialog::CreateControl(const char* className, const char* text, DWORD style, RECT units, int id) const {
    ::MapDialogRect(hwnd, &units);
    HWND control = ::CreateWindowExA(0, className, text, style | WS_CHILD | WS_VISIBLE, units.left, units.top,
                                     units.right, units.bottom, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ResourceModule(), nullptr);
    if (control) ::SendMessageA(control, WM_SETFONT, Send(WM_GETFONT), TRUE);
    return control;
}

void CDialog::CenterOnParent() const {
    RECT box = WindowRect();
    RECT area = parentWindow ? CWindow(parentWindow).WindowRect() : RECT{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR screen = ::MonitorFromWindow(parentWindow ? parentWindow : hwnd, MONITOR_DEFAULTTONEAREST);
    if (!::GetMonitorInfoA(screen, &monitor)) return;
    if (!parentWindow) area = monitor.rcWork;
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    int left = (area.left + area.right - width) / 2;
    int top = (area.top + area.bottom - height) / 2;
    // A box that would stick out of the screen is pushed back onto it.
    left = std::max<int>(monitor.rcWork.left, std::min<int>(left, monitor.rcWork.right - width));
    top = std::max<int>(monitor.rcWork.top, std::min<int>(top, monitor.rcWork.bottom - height));
    ::SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::Bind(int id, CControl& control) {
    control.Attach(::GetDlgItem(hwnd, id));
    if (std::find(boundControls.begin(), boundControls.end(), &control) == boundControls.end())
        boundControls.push_back(&control);
}

void CDialog::Unbind() {
    for (CControl* control : boundControls) control->Attach(nullptr);
    boundControls.clear();
}

BOOL CDialog::OnInitDialog() {
    BindControls();
    return TRUE;
}

bool CDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
        for (CControl* control : boundControls)
            if (control->Handle() == header.hwndFrom && control->OnReflectedNotify(header, result)) return true;
        return OnNotify(header, result);
    }
    case WM_DESTROY:
        OnDestroy();
        return false;
    default:
        return false;
    }
}

bool CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // No C++ exception may unwind through the system's frames.
    try {
        return OnMessage(message, wParam, lParam, result);
    } catch (const std::exception& e) {
        ReportException("[CDialog::DialogProc] exception for message 0x%04X: %s\n", message, e.what());
    } catch (...) {
        ReportException("[CDialog::DialogProc] exception for message 0x%04X\n", message, nullptr);
    }
    result = 0;
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->hwnd = window;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;

    LRESULT result = 0;
    bool handled = self->Dispatch(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        self->Unbind();
        self->hwnd = nullptr;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

void CDialog::ReportExceptionsTo(ExceptionReport report) { exceptionReport = report; }

// Formats into a buffer of its own: the exception may be want of memory.
void CDialog::ReportException(const char* format, UINT message, const char* what) {
    ExceptionReport report = exceptionReport;
    if (!report) return;
    char line[512];
    std::snprintf(line, sizeof line, format, message, what ? what : "");
    report(line);
}
