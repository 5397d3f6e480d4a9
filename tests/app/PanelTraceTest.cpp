// The panel inside this program, for what only its own module can see: the
// trace lines and the application's main and top window.
#include "app/CFoldscanApp.h"
#include "panel/CMainDlg.h"

#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string answer3046, answer3045;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 3046 || message == 3045) {
        const std::string& text = message == 3046 ? answer3046 : answer3045;
        std::strncpy(reinterpret_cast<char*>(lParam), text.c_str(), wParam);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(PanelTrace, StartRefreshAndEnd) {
    CFoldscanApp app;
    ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
    TempDir mailbox;
    mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowFolderPath=0\r\n");
    answer3046 = mailbox.Path();
    answer3046.pop_back();
    answer3045 = "";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.lpszClassName = "PanelTraceHost";
    ::RegisterClassA(&windowClass);
    HWND host = ::CreateWindowExA(0, "PanelTraceHost", "", WS_OVERLAPPEDWINDOW, 0, 0, 500, 500, nullptr, nullptr,
                                  nullptr, nullptr);

    TraceCapture trace;
    CMainDlg panel;
    ASSERT_TRUE(panel.Create(app, host));
    EXPECT_EQ(app.MainWindow(), &panel);
    EXPECT_EQ(app.TopWindow(), &panel);
    EXPECT_EQ(app.SettingsPath(), mailbox.Path() + "KVT-FSCN.PM");
    EXPECT_EQ(panel.MailboxDir(), mailbox.Path());
    EXPECT_EQ(panel.NewMailDir(), "\\");
    panel.Send(0x0B09);
    panel.Send(WM_COMMAND, 40001);
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{
                                 "[foldscan::CMainDlg::GetMailboxPath] \"" + mailbox.Path() + "\"\n",
                                 "[foldscan::CMainDlg::GetNewmailPath] \"\\\"\n",
                                 "[foldscan::CMainDlg::OnRefresh]\n",
                                 "[foldscan::CMainDlg::OnRefresh]\n",
                             }));
    ::DestroyWindow(panel.Handle());
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_EQ(app.TopWindow(), nullptr);
    ::DestroyWindow(host);
}
