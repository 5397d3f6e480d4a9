#include "panel/CResizableDlg.h"

BOOL CResizableDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Measure();
    return TRUE;
}

void CResizableDlg::Measure() {
    RECT units = {4, 8, 0, 0};
    ::MapDialogRect(hwnd, &units);
    metrics = PanelLayout::Metrics::FromUnits(units.left, units.top);
    RECT window = WindowRect();
    RECT client = ClientRect();
    minWindowWidth = window.right - window.left;
    minWindowHeight = window.bottom - window.top;
    initialClientWidth = client.right - client.left;
    initialClientHeight = client.bottom - client.top;
}

void CResizableDlg::Layout(int width, int height) {
    layoutWidth = width > initialClientWidth ? width : initialClientWidth;
    layoutHeight = height > initialClientHeight ? height : initialClientHeight;
    Invalidate(true);
}

bool CResizableDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return false;  // the default handling goes on
    case WM_SIZING: {
        RECT* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect) return false;
        PanelLayout::Box box = PanelLayout::CorrectSizing(static_cast<int>(wParam),
                                                          {rect->left, rect->top, rect->right, rect->bottom},
                                                          minWindowWidth, minWindowHeight);
        *rect = {box.left, box.top, box.right, box.bottom};
        result = TRUE;
        return true;
    }
    default:
        return CDialog::OnMessage(message, wParam, lParam, result);
    }
}
