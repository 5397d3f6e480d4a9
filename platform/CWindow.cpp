#include "platform/CWindow.h"

#include <vector>

LRESULT CWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(hwnd, message, wParam, lParam);
}

bool CWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(hwnd, message, wParam, lParam) != FALSE;
}

bool CWindow::Move(int x, int y, int width, int height, bool repaint) const {
    return ::MoveWindow(hwnd, x, y, width, height, repaint) != FALSE;
}

RECT CWindow::WindowRect() const {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

RECT CWindow::ClientRect() const {
    RECT rect{};
    ::GetClientRect(hwnd, &rect);
    return rect;
}

std::string CWindow::Text() const {
    int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int got = ::GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}
