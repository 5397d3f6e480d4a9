// The dialog bases and the menu wrapper on real windows of this program.
#include "app/CFoldscanApp.h"
#include "panel/CAccelDlg.h"
#include "platform/CMenu.h"
#include "resources/resource.h"
#include "tests/support/TraceCapture.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

const UINT PressF1 = WM_APP + 7;

// The settings template with its accelerator table; it records the commands
// it gets and closes after F1 has gone through its modal loop.
class AccelProbe : public CAccelDlg {
public:
    AccelProbe() : CAccelDlg(IDA_SETTINGS, IDD_SETTINGS, nullptr) {}
    int helpCommands = 0;
    RECT corrected{};

protected:
    BOOL OnInitDialog() override {
        CAccelDlg::OnInitDialog();
        ::SetTimer(hwnd, 1, 3000, nullptr);  // gives up rather than hang when F1 goes astray
        Post(PressF1);
        return TRUE;
    }
    bool OnCommand(WORD id, WORD code, HWND control) override {
        if (id == IDC_HELP_BUTTON) {
            ++helpCommands;
            EndDialog(IDOK);
            return true;
        }
        return CAccelDlg::OnCommand(id, code, control);
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_TIMER) EndDialog(IDABORT);
        if (message != PressF1) return CAccelDlg::OnMessage(message, wParam, lParam, result);
        // Too small, dragged at the top-left corner.
        corrected = {300, 300, 310, 305};
        Send(WM_SIZING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&corrected));
        ::PostMessageA(::GetDlgItem(hwnd, IDC_AUTO_REFRESH), WM_KEYDOWN, VK_F1, 0x003B0001);
        return true;
    }
};

// Throws on its first posted message and ends on its second: the exception
// must stay inside the dialog procedure.
class ThrowingProbe : public CDialog {
public:
    ThrowingProbe() : CDialog(IDD_SETTINGS, nullptr) {}

protected:
    BOOL OnInitDialog() override {
        Post(PressF1);
        Post(PressF1 + 1);
        return CDialog::OnInitDialog();
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == PressF1) throw std::runtime_error("boom");
        if (message == PressF1 + 1) EndDialog(IDOK);
        return CDialog::OnMessage(message, wParam, lParam, result);
    }
};

class DialogBases : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr))); }
    CFoldscanApp app;
};

}  // namespace

TEST_F(DialogBases, F1BecomesTheHelpCommandAndSizingKeepsTheMinimum) {
    AccelProbe dialog;
    EXPECT_EQ(app.RunModal(dialog), IDOK);
    EXPECT_EQ(dialog.helpCommands, 1);
    EXPECT_EQ(dialog.corrected.right, 310);
    EXPECT_EQ(dialog.corrected.bottom, 305);
    EXPECT_EQ(dialog.corrected.right - dialog.corrected.left, dialog.MinWindowWidth());
    EXPECT_EQ(dialog.corrected.bottom - dialog.corrected.top, dialog.MinWindowHeight());
    EXPECT_GT(dialog.MinWindowWidth(), 100);
}

TEST_F(DialogBases, AnOwningMenuIsDestroyedAndABorrowedOneOnlyLetGo) {
    HMENU sub = nullptr;
    HMENU loaded = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.Load(app.ModuleInstance(), IDM_CONTEXT));
        loaded = menu.Handle();
        EXPECT_TRUE(menu.IsOwned());
        {
            CMenu popup;
            ASSERT_TRUE(popup.BorrowSubMenu(menu, 0));
            EXPECT_FALSE(popup.IsOwned());
            sub = popup.Handle();
        }
        EXPECT_TRUE(::IsMenu(sub));  // still the parent's
        CMenu none;
        EXPECT_FALSE(none.BorrowSubMenu(menu, 1));
        EXPECT_EQ(none.Handle(), nullptr);
    }
    EXPECT_FALSE(::IsMenu(loaded));
}

TEST_F(DialogBases, AnExceptionInAHandlerIsCaughtAndTraced) {
    TraceCapture trace;
    ThrowingProbe dialog;
    EXPECT_EQ(app.RunModal(dialog), IDOK);
    std::vector<std::string> expected{"[CDialog::DialogProc] exception for message 0x8007: boom\n"};
    std::vector<std::string> caught;
    for (const std::string& line : trace.Lines())
        if (line.find("exception") != std::string::npos) caught.push_back(line);
    EXPECT_EQ(caught, expected);
}
