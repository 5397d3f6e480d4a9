#pragma once

#include "panel/CResizableDlg.h"

// A resizable dialog whose keys first go through an accelerator table of the
// module, so that a key such as F1 can stand for one of its buttons.
class CAccelDlg : public CResizableDlg {
public:
    CAccelDlg(UINT acceleratorId, UINT templateId, HWND parent);

    bool PreTranslateMessage(MSG& message) override;

protected:
    HACCEL accelerators = nullptr;  // from the resources; not freed explicitly
};
