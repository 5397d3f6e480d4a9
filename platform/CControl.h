#pragma once

#include "platform/CWindow.h"

// A child control bound to a dialog. The dialog first offers the control the
// notifications it sends (WM_NOTIFY), so that a control class can handle its
// own; what it leaves goes to the dialog's handlers.
class CControl : public CWindow {
public:
    // True when handled; result is then the notification's answer.
    virtual bool OnReflectedNotify(NMHDR& header, LRESULT& result) { return false; }
};
