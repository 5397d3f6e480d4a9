// The panel inside this program, for what only its own module can see: the
// trace lines and the application's main and top window.
#include "app/CFoldscanApp.h"
#include "panel/CMainDlg.h"
#include "resources/resource.h"

#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

TEST(PanelTrace, StartRefreshAndEnd) {
    CFoldscanApp app;
    ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
    TempDir mailbox;
    mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowFolderPath=0\r\n");
    TestHost host;
    host.mailbox = mailbox.Path();
    host.mailbox.pop_back();

    TraceCapture trace;
    CMainDlg panel;
    ASSERT_TRUE(panel.Create(app, host.Handle()));
    EXPECT_EQ(app.MainWindow(), &panel);
    EXPECT_EQ(app.TopWindow(), &panel);
    EXPECT_EQ(app.SettingsPath(), mailbox.Path() + "KVT-FSCN.PM");
    EXPECT_EQ(panel.MailboxDir(), mailbox.Path());
    EXPECT_EQ(panel.NewMailDir(), "\\");
    panel.Send(HostMessages::Start);
    panel.Send(WM_COMMAND, ID_REFRESH);
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{
                                 "[foldscan::CMainDlg::GetMailboxPath] \"" + mailbox.Path() + "\"\n",
                                 "[foldscan::CMainDlg::GetNewmailPath] \"\\\"\n",
                                 "[foldscan::CMainDlg::OnRefresh]\n",
                                 "[foldscan::CMainDlg::OnRefresh]\n",
                             }));
    ::DestroyWindow(panel.Handle());
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_EQ(app.TopWindow(), nullptr);
}
