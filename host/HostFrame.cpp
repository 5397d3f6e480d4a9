#include "host/HostFrame.h"

#include "resources/HostMessages.h"

#include <cstring>

namespace {

const char ClassName[] = "FoldhostFrame";

}  // namespace

HostFrame::HostFrame(const std::string& mailbox, const std::string& newmail) : mailbox(mailbox), newmail(newmail) {}

HostFrame::~HostFrame() {
    if (frame && ::IsWindow(frame)) ::DestroyWindow(frame);
}

bool HostFrame::Create(int clientWidth, int clientHeight) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    ::RegisterClassA(&windowClass);

    RECT rect = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    frame = ::CreateWindowExA(0, ClassName, "foldhost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              windowClass.hInstance, this);
    return frame != nullptr;
}

void HostFrame::PlaceAt(int left, int top) const {
    ::SetWindowPos(frame, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostFrame::AnswerPath(const std::string& path, WPARAM capacity, LPARAM buffer) const {
    char* out = reinterpret_cast<char*>(buffer);
    if (!out || capacity == 0) return;
    size_t length = path.size() < capacity ? path.size() : capacity;
    std::memcpy(out, path.data(), length);
    out[length] = '\0';
}

LRESULT HostFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case HostMessages::AskMailboxPath:
        AnswerPath(mailbox, wParam, lParam);
        return 0;
    case HostMessages::AskNewmailPath:
        AnswerPath(newmail, wParam, lParam);
        return 0;
    case WM_SIZE:
        if (panel) ::SendMessageA(panel, HostMessages::Resize, wParam, lParam);
        return 0;
    case WM_GETMINMAXINFO:
        if (panel) ::SendMessageA(panel, HostMessages::SizeLimits, wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        if (panel && LOWORD(wParam) != WA_INACTIVE) ::SendMessageA(panel, HostMessages::Activate, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        if (panel) ::SendMessageA(panel, HostMessages::Focus, wParam, lParam);
        return 0;
    case HostMessages::DpiChanged: {
        // The window takes the size Windows proposes for the new resolution.
        const RECT* proposed = reinterpret_cast<const RECT*>(lParam);
        if (panel) ::SendMessageA(panel, HostMessages::DpiChanged, wParam, lParam);
        if (proposed)
            ::SetWindowPos(frame, nullptr, proposed->left, proposed->top, proposed->right - proposed->left,
                           proposed->bottom - proposed->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        panel = nullptr;
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(frame, message, wParam, lParam);
    }
}

LRESULT CALLBACK HostFrame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<HostFrame*>(create->lpCreateParams)->frame = window;
    }
    auto* self = reinterpret_cast<HostFrame*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->frame = nullptr;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}
