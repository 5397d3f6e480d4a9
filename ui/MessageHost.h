#pragma once

#include "ui/HelpHandler.h"

#include <windows.h>

#include <cstdint>
#include <string>

class CDialog;
class CWindow;

// What showing a numbered message needs of the application: the window that
// owns every box (the top window), the registered help handler, the number
// of the message last shown, the message texts and a modal run that makes
// the box the top window while it is open.
class MessageHost {
public:
    virtual ~MessageHost() = default;

    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // The message with this string id; empty when there is none.
    virtual std::string MessageText(UINT id) const = 0;

    CWindow* topWindow = nullptr;  // not owned
    HelpHandler helpHandler = nullptr;
    int32_t messageNumber = 0;
    void* helpContext = nullptr;
};
