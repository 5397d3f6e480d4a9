#include "panel/CAccelDlg.h"

CAccelDlg::CAccelDlg(UINT acceleratorId, UINT templateId, HWND parent) : CResizableDlg(templateId, parent) {
    if (acceleratorId != 0)
        accelerators = ::LoadAcceleratorsA(ResourceModule(), MAKEINTRESOURCEA(acceleratorId));
}

bool CAccelDlg::PreTranslateMessage(MSG& message) {
    if (accelerators && IsWindow() && ::TranslateAcceleratorA(hwnd, accelerators, &message)) return true;
    return CResizableDlg::PreTranslateMessage(message);
}
