#pragma once

#include "platform/CControl.h"
#include "platform/CDialog.h"

#include <string>

// The "Info" box: the extension's description, version and legal notice
// from the version resource of its module, and the two directories the
// panel works on. Enter, Escape, "Schließen" and the close box end it.
class CAboutDlg : public CDialog {
public:
    // The version texts come from the module file at modulePath.
    CAboutDlg(HWND parent, const std::string& modulePath);
    ~CAboutDlg() override;

    // Shown as they are; the panel's end in a path separator.
    std::string mailboxDir;
    std::string newMailDir;

protected:
    void BindControls() override;
    BOOL OnInitDialog() override;

private:
    void ShowIcon();

    std::string modulePath;
    HICON icon = nullptr;  // ours, at the screen's size; the control does not free it
    CControl iconView;
    CControl description;
    CControl version;
    CControl copyright;
    CControl mailbox;
    CControl newMail;
};
