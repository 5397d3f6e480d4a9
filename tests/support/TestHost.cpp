#include "tests/support/TestHost.h"

namespace {

const char ClassName[] = "FoldscanTestHost";

}  // namespace

TestHost::TestHost(int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = ClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly for every host after the first
    ::CreateWindowExA(0, ClassName, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, width, height, nullptr, nullptr,
                      windowClass.hInstance, this);
}

TestHost::~TestHost() {
    if (window) ::DestroyWindow(window);
}

void TestHost::HandlePending() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void TestHost::Pump(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (DWORD passed = 0; passed < milliseconds; passed = ::GetTickCount() - start) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
        HandlePending();
    }
}

LRESULT CALLBACK TestHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TestHost*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window = window;
    }
    auto* self = reinterpret_cast<TestHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case HostMessages::AskMailboxPath:
    case HostMessages::AskNewmailPath: {
        // Cut to the capacity the panel gives; its buffer has room for the end mark.
        const std::string& path = message == HostMessages::AskMailboxPath ? self->mailbox : self->newmail;
        ::lstrcpynA(reinterpret_cast<char*>(lParam), path.c_str(), static_cast<int>(wParam) + 1);
        return 0;
    }
    case WM_TIMER:
        ++self->timers;
        break;
    case WM_NCDESTROY:
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window = nullptr;
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
