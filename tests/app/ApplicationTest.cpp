// The application object inside a test program: paths, the settings store,
// the help handler and the top window through nested modal runs.
#include "app/CFoldscanApp.h"
#include "platform/CDialog.h"
#include "resources/resource.h"
#include "settings/ProfileStore.h"

#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string WithExtension(std::string path, const char* extension) {
    return path.substr(0, path.find_last_of('.')) + extension;
}

const UINT RunNested = WM_APP + 1;

// A modal dialog that, once open, records the top window, optionally runs a
// second one inside itself, records again and closes.
class ProbeDialog : public CDialog {
public:
    ProbeDialog(CFoldscanApp& app, HWND owner, ProbeDialog* inner)
        : CDialog(IDD_ABOUT, owner), app(app), inner(inner) {}

    CWindow* topWhileOpen = nullptr;
    CWindow* topAfterInner = nullptr;
    bool ownerDisabled = false;

protected:
    BOOL OnInitDialog() override {
        Post(RunNested);
        return TRUE;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message != RunNested) return CDialog::OnMessage(message, wParam, lParam, result);
        topWhileOpen = app.TopWindow();
        ownerDisabled = parentWindow && !::IsWindowEnabled(parentWindow);
        if (inner) {
            inner->parentWindow = hwnd;
            app.RunModal(*inner);
        }
        topAfterInner = app.TopWindow();
        EndDialog(IDOK);
        return true;
    }

private:
    CFoldscanApp& app;
    ProbeDialog* inner;
};

class Application : public ::testing::Test {
protected:
    TraceCapture trace;
    CFoldscanApp app;
};

}  // namespace

TEST_F(Application, InitInstanceDerivesThePathsAndRegistersTheHelpHandler) {
    ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
    EXPECT_EQ(app.ModulePath(), ProgramPath());
    EXPECT_EQ(app.SettingsPath(), WithExtension(ProgramPath(), ".ini"));
    EXPECT_EQ(app.HelpPath(), WithExtension(ProgramPath(), ".chm"));
    ASSERT_NE(app.SettingsStore(), nullptr);
    void* context = nullptr;
    EXPECT_EQ(app.RegisteredHelp(&context), &CFoldscanApp::OnMessageHelp);
    EXPECT_EQ(context, &app);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"[foldscan::CFoldscanApp::SetStrings] HelpPath = \"" +
                                                       app.HelpPath() + "\"\n"});
}

TEST_F(Application, WithoutAModulePathNothingIsRegisteredAndTheLoadFails) {
    EXPECT_FALSE(app.Initialise(reinterpret_cast<HINSTANCE>(0x10)));
    EXPECT_EQ(app.RegisteredHelp(), nullptr);
    EXPECT_EQ(app.HelpPath(), "");
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_NE(app.SettingsStore(), nullptr);  // made all the same, over no path
}

TEST_F(Application, TheSettingsFolderHoldsTheSettingsFile) {
    ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
    TempDir mailbox;
    app.SetSettingsFolder(mailbox.Path());
    EXPECT_EQ(app.SettingsPath(), mailbox.Path() + "KVT-FSCN.PM");
    ASSERT_TRUE(app.SettingsStore()->Open("MainDlg"));
    EXPECT_NE(app.SettingsStore()->WriteInt("Probe", 7), 0);
    app.SettingsStore()->Close();
    EXPECT_EQ(mailbox.Read("KVT-FSCN.PM"), "[MainDlg]\r\nProbe=7\r\n");

    app.SetSettingsFolder("");
    EXPECT_EQ(app.SettingsPath(), "KVT-FSCN.PM");
}

TEST_F(Application, MainAndTopWindow) {
    CWindow panel;
    app.ClearMainWindow();  // no main window: nothing changes
    EXPECT_EQ(app.TopWindow(), nullptr);

    app.SetMainWindow(&panel);
    EXPECT_EQ(app.MainWindow(), &panel);
    EXPECT_EQ(app.TopWindow(), &panel);
    app.ClearMainWindow();
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_EQ(app.TopWindow(), nullptr);
}

TEST_F(Application, ModalRunsNestAndRestoreTheTopWindow) {
    ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                   nullptr, nullptr);
    CWindow panel(owner);
    app.SetMainWindow(&panel);

    ProbeDialog box(app, nullptr, nullptr);
    ProbeDialog settings(app, owner, &box);
    EXPECT_EQ(app.RunModal(settings), IDOK);

    EXPECT_EQ(settings.topWhileOpen, &settings);
    EXPECT_TRUE(settings.ownerDisabled);
    EXPECT_EQ(box.topWhileOpen, &box);
    EXPECT_TRUE(box.ownerDisabled);  // the settings dialog owns the box
    EXPECT_EQ(settings.topAfterInner, &settings);
    EXPECT_EQ(app.TopWindow(), &panel);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_FALSE(settings.IsWindow());
    ::DestroyWindow(owner);
}

TEST_F(Application, HelpTopicsOfTheMessages) {
    EXPECT_EQ(CFoldscanApp::HelpTopicFor(IDS_ERROR_UNEXPECTED), "::/pages/ref_mld_fehlerm.htm#e000");
    EXPECT_EQ(CFoldscanApp::HelpTopicFor(IDS_ERROR_START_TICK), "::/pages/ref_mld_fehlerm.htm#e005");
    EXPECT_EQ(CFoldscanApp::HelpTopicFor(IDS_WARN_NO_HIERARCHY), "::/pages/ref_mld_warnungen.htm#w502");
    EXPECT_EQ(CFoldscanApp::HelpTopicFor(IDS_ERROR_NO_HELP), "");
    EXPECT_EQ(CFoldscanApp::HelpTopicFor(IDS_WARN_NO_NEWMAIL), "");
    EXPECT_EQ(CFoldscanApp::HelpTopicFor(0), "");
}
