#include "ui/CAboutDlg.h"

#include "platform/ScreenDpi.h"
#include "resources/resource.h"
#include "ui/VersionInfo.h"

namespace {

// The icon's size on a screen of the standard resolution.
const int StandardIconPixels = 32;

}  // namespace

CAboutDlg::CAboutDlg(HWND parent, const std::string& modulePath)
    : CDialog(IDD_ABOUT, parent), modulePath(modulePath) {}

CAboutDlg::~CAboutDlg() {
    if (icon) ::DestroyIcon(icon);
}

void CAboutDlg::BindControls() {
    Bind(IDC_ABOUT_DESCRIPTION, description);
    Bind(IDC_ABOUT_VERSION, version);
    Bind(IDC_ABOUT_COPYRIGHT, copyright);
    Bind(IDC_ABOUT_MAILBOX, mailbox);
    Bind(IDC_ABOUT_NEWMAIL, newMail);
    Bind(IDC_ABOUT_ICON, iconView);
}

// The control loads the icon at the system's icon size, which need not be
// this window's. Made from the icon's images at the window's own size, the
// picture is drawn as it is, not stretched; the control centres it.
void CAboutDlg::ShowIcon() {
    int size = ScreenDpi::Scale(StandardIconPixels, ScreenDpi::ForWindow(hwnd));
    HICON made = static_cast<HICON>(
        ::LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_FOLDSCAN), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!made) return;
    iconView.Send(STM_SETICON, reinterpret_cast<WPARAM>(made), 0);
    if (icon) ::DestroyIcon(icon);
    icon = made;
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterOnParent();
    ShowIcon();
    VersionInfo info;
    info.Load(modulePath, 0);
    description.SetText(info.QueryString("FileDescription"));
    version.SetText(info.VersionText() + " (" + info.QueryString("ProductName") + ")");
    copyright.SetText(info.QueryString("LegalCopyright"));
    mailbox.SetText(mailboxDir);
    newMail.SetText(newMailDir);
    info.Release();
    return TRUE;
}
