#pragma once

#include "platform/CControl.h"

// A view of a static control: a label or an icon picture.
class CStatic : public CControl {
public:
    void SetIcon(HICON icon) const { Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)); }
};
