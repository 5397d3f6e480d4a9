#pragma once

#include <windows.h>

#include <string>

class CDialog;
class CHelpMessageBox;

// What showing a numbered message needs of the application: the message
// texts, the window that owns every box (the top window), the help behind a
// box, and a modal run that makes the box the top window while it is open.
class MessageHost {
public:
    virtual ~MessageHost() = default;

    // A string resource of the module; empty when there is none.
    virtual std::string LoadString(UINT id) const = 0;
    // The window that owns whatever opens now; none before the panel exists.
    virtual HWND Owner() const = 0;
    // Runs a dialog modally; it is the top window while it runs. Runs nest.
    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // The box is about to show message messageNumber: it becomes the number
    // last shown, and the box's help goes to the application's help handler.
    virtual void ConnectHelp(CHelpMessageBox& box, int messageNumber) = 0;
};
