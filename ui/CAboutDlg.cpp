#include "ui/CAboutDlg.h"

#include "resources/resource.h"
#include "ui/VersionInfo.h"

CAboutDlg::CAboutDlg(HWND parent, const std::string& modulePath)
    : CDialog(IDD_ABOUT, parent), modulePath(modulePath) {}

void CAboutDlg::BindControls() {
    Bind(IDC_ABOUT_DESCRIPTION, description);
    Bind(IDC_ABOUT_VERSION, version);
    Bind(IDC_ABOUT_COPYRIGHT, copyright);
    Bind(IDC_ABOUT_MAILBOX, mailbox);
    Bind(IDC_ABOUT_NEWMAIL, newMail);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterOnParent();
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
