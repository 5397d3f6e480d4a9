#include "platform/ScreenDpi.h"

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

// Looked up, not imported: the library must load on systems without it.
GetDpiForWindowProc FindGetDpiForWindow() {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowProc>(
                        reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
}

}  // namespace

namespace ScreenDpi {

int ForWindow(HWND window) {
    static const GetDpiForWindowProc getDpiForWindow = FindGetDpiForWindow();
    int dpi = 0;
    if (getDpiForWindow && window) dpi = static_cast<int>(getDpiForWindow(window));
    if (dpi <= 0) {
        HDC screen = ::GetDC(window);
        if (screen) {
            dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
            ::ReleaseDC(window, screen);
        }
    }
    return dpi > 0 ? dpi : Standard;
}

int Scale(int pixels, int dpi) { return ::MulDiv(pixels, dpi, Standard); }

}  // namespace ScreenDpi
