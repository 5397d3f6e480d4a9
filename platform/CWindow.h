#pragma once

#include <windows.h>

#include <string>

// A view of a window handle: it never owns the window. Each method is one
// typed call of the Windows API.
class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND hwnd) : hwnd(hwnd) {}
    virtual ~CWindow() = default;

    HWND Handle() const { return hwnd; }
    void Attach(HWND window) { hwnd = window; }

    bool IsWindow() const { return hwnd != nullptr && ::IsWindow(hwnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(hwnd) != FALSE; }
    bool IsZoomed() const { return ::IsZoomed(hwnd) != FALSE; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    CWindow Parent() const { return CWindow(::GetParent(hwnd)); }

    bool Move(int x, int y, int width, int height, bool repaint = true) const;
    RECT WindowRect() const;
    RECT ClientRect() const;
    bool Invalidate(bool erase = true) const { return ::InvalidateRect(hwnd, nullptr, erase) != FALSE; }

    bool SetText(const std::string& text) const { return ::SetWindowTextA(hwnd, text.c_str()) != FALSE; }
    std::string Text() const;

    bool Enable(bool enable) const { return ::EnableWindow(hwnd, enable) != FALSE; }
    bool Show(int command) const { return ::ShowWindow(hwnd, command) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(hwnd); }

protected:
    HWND hwnd = nullptr;
};
