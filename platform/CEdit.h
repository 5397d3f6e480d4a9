#pragma once

#include "platform/CControl.h"

// A view of an edit field.
class CEdit : public CControl {
public:
    void LimitText(int characters) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    void SelectAll() const { Send(EM_SETSEL, 0, -1); }
    void ScrollCaret() const { Send(EM_SCROLLCARET); }
};
