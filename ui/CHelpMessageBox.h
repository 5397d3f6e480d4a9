#pragma once

#include "platform/CButton.h"
#include "platform/CDialog.h"
#include "platform/CStatic.h"

#include <cstdint>
#include <memory>
#include <string>

class CHelpMessageBox;

// Called by a message box when the user asks for help (HelpRequested) and
// when the box closes (BoxClosing), with the number of the message it shows
// and the context registered with the handler. The result is not used.
using HelpHandler = int (*)(int event, int messageNumber, void* context, CHelpMessageBox* box);

namespace HelpEvent {
constexpr int BoxClosing = 0;
constexpr int HelpRequested = 5;
}  // namespace HelpEvent

// What a message box is about; it decides the box's icon and sound.
enum class MessageBoxKind { None = 0, Error = 1, Warning = 2, Information = 3 };

// A small modal box built at run time: an icon, the message text, a
// "&Schließen" button and, when a help handler is set, a "&Hilfe" button.
// Help and F1 hand the message number to the handler, which opens the
// message's help page; closing the box tells the handler too.
class CHelpMessageBox : public CDialog {
public:
    // The template is allocated here; std::bad_alloc when it cannot be.
    CHelpMessageBox(HWND parent, const std::string& text, const char* caption, MessageBoxKind kind);
    ~CHelpMessageBox() override;

    void SetHelp(HelpHandler handler, int32_t messageNumber, void* context);

    // F1 asks for help; the system's own F1 message is swallowed.
    bool PreTranslateMessage(MSG& message) override;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnDestroy() override;

private:
    void CreateControls();
    void CallHelp(int event);

    std::string text;
    std::string caption;
    HICON icon = nullptr;  // a shared system icon: never destroyed
    UINT beepType = 0;  // 0: silent
    HelpHandler helpHandler = nullptr;
    int32_t messageNumber = 0;
    void* helpContext = nullptr;
    std::unique_ptr<DWORD[]> dialogTemplate;
    CStatic label;
    CStatic picture;
    CButton closeButton;
    CButton helpButton;
};
