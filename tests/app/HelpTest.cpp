// What the application hands the help viewer, and the box it shows when the
// viewer cannot show the help file.
#include "app/CFoldscanApp.h"
#include "app/HelpViewer.h"
#include "host/BoxWatcher.h"
#include "resources/resource.h"
#include "ui/CHelpMessageBox.h"
#include "ui/ShowMessage.h"

#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::pair<HWND, std::string>> shown;
HWND viewerAnswer = nullptr;
HWND RecordHelp(HWND owner, const char* helpString) {
    shown.emplace_back(owner, helpString);
    return viewerAnswer;
}

class Help : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
        app.SetModulePath("C:\\Tools\\foldscan.dll");
        shown.clear();
        viewerAnswer = reinterpret_cast<HWND>(1);
        previous = SetHelpViewer(RecordHelp);
        owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                  nullptr, nullptr, nullptr);
        panel.Attach(owner);
        app.SetMainWindow(&panel);
    }
    void TearDown() override {
        SetHelpViewer(previous);
        ::DestroyWindow(owner);
    }

    CFoldscanApp app;
    HelpViewer previous = nullptr;
    HWND owner = nullptr;
    CWindow panel;
    BoxWatcher boxes;
};

}  // namespace

TEST_F(Help, TopicsAreAppendedToTheHelpFileAndTheTopWindowOwnsTheViewer) {
    TraceCapture trace;
    app.DisplayHelp("::/pages/ref_dlg_main.htm");
    app.DisplayHelp(nullptr);
    app.DisplayHelp("");
    EXPECT_EQ(shown, (std::vector<std::pair<HWND, std::string>>{
                         {owner, "C:\\Tools\\foldscan.chm::/pages/ref_dlg_main.htm"},
                         {owner, "C:\\Tools\\foldscan.chm"},
                         {owner, "C:\\Tools\\foldscan.chm"},
                     }));
    EXPECT_EQ(trace.Lines().front(),
              "[foldscan::CFoldscanApp::DisplayHelp] HelpString = \"C:\\Tools\\foldscan.chm::/pages/ref_dlg_main.htm\"\n");
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Help, TheBoxesHelpOpensTheMessagesPageAndItsClosingOpensNothing) {
    HWND viewerOwner = nullptr;
    boxes.SetHandler([&](const BoxWatcher::Box& box) {
        ::SendMessageA(::GetDlgItem(box.window, IDC_HELP_BUTTON), BM_CLICK, 0, 0);
        viewerOwner = shown.empty() ? nullptr : shown.back().first;
        return false;
    });
    ShowWarning(app, IDS_WARN_NO_HIERARCHY);
    ShowError(app, IDS_ERROR_STOP_AUTO);
    ShowWarning(app, IDS_WARN_NO_NEWMAIL);  // no page of its own: the start page
    ASSERT_EQ(boxes.Seen().size(), 3u);
    EXPECT_EQ(viewerOwner, boxes.Seen()[2].window);  // the box owns what opens from it
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].second, "C:\\Tools\\foldscan.chm::/pages/ref_mld_warnungen.htm#w502");
    EXPECT_EQ(shown[1].second, "C:\\Tools\\foldscan.chm::/pages/ref_mld_fehlerm.htm#e003");
    EXPECT_EQ(shown[2].second, "C:\\Tools\\foldscan.chm");
}

TEST_F(Help, AViewerThatShowsNothingGivesTheStandardBoxOnce) {
    viewerAnswer = nullptr;
    app.DisplayHelp("::/pages/ref_dlg_main.htm");
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "foldscan");
    EXPECT_EQ(boxes.Seen()[0].text, "FEHLER 001: Online-Hilfe-Datei nicht gefunden.");
    EXPECT_EQ(::GetWindow(boxes.Seen()[0].window, GW_OWNER), nullptr);  // gone
    EXPECT_TRUE(::IsWindowEnabled(owner));
}
