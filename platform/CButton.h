#pragma once

#include "platform/CControl.h"

// A view of a push button or check box.
class CButton : public CControl {
public:
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};
