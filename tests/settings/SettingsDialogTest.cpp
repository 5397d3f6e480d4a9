// The settings dialog driven as a user would: check boxes, the rate field,
// OK with a rate it refuses, help, and what it hands back.
#include "app/CFoldscanApp.h"
#include "app/HelpViewer.h"
#include "host/BoxWatcher.h"
#include "resources/resource.h"
#include "settings/CSettingsDlg.h"

#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> helpStrings;
HWND RecordHelp(HWND, const char* helpString) {
    helpStrings.push_back(helpString);
    return reinterpret_cast<HWND>(1);  // shown
}

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
        helpStrings.clear();
        previousViewer = SetHelpViewer(RecordHelp);
    }
    void TearDown() override {
        SetHelpViewer(previousViewer);
        EXPECT_EQ(boxes.Overdue(), 0);
    }

    // Runs the dialog on the given settings; act plays the user once it is open.
    INT_PTR Run(const Settings& start, std::function<void(HWND)> act) {
        boxes.SetHandler([&](const BoxWatcher::Box& box) {
            if (box.caption != "Einstellungen") return false;
            act(box.window);
            return true;
        });
        dialog.settings = start;
        return app.RunModal(dialog);
    }

    static void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    static bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    static bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
    static std::string Rate(HWND dialog) {
        char text[16] = {};
        ::GetDlgItemTextA(dialog, IDC_RATE, text, static_cast<int>(sizeof text));
        return text;
    }
    static bool RateSelectedAndFocused(HWND dialog) {
        DWORD start = 0, end = 0;
        ::SendDlgItemMessageA(dialog, IDC_RATE, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                              reinterpret_cast<LPARAM>(&end));
        return ::GetFocus() == ::GetDlgItem(dialog, IDC_RATE) && start == 0 && end == Rate(dialog).size();
    }

    CFoldscanApp app;
    CSettingsDlg dialog{app, nullptr};
    BoxWatcher boxes;
    HelpViewer previousViewer = nullptr;
};

}  // namespace

TEST_F(SettingsDialog, TheRateFieldFollowsItsCheckBoxAndKeepsWhatWasTyped) {
    Settings start;
    INT_PTR result = Run(start, [&](HWND d) {
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_AUTO_REFRESH));
        EXPECT_FALSE(Checked(d, IDC_AUTO_REFRESH));
        EXPECT_EQ(Rate(d), "");
        EXPECT_FALSE(Enabled(d, IDC_RATE_BEFORE) || Enabled(d, IDC_RATE) || Enabled(d, IDC_RATE_AFTER));
        EXPECT_EQ(::SendDlgItemMessageA(d, IDC_RATE, EM_GETLIMITTEXT, 0, 0), 3);

        Click(d, IDC_AUTO_REFRESH);
        EXPECT_EQ(Rate(d), "10");
        EXPECT_TRUE(Enabled(d, IDC_RATE_BEFORE) && Enabled(d, IDC_RATE) && Enabled(d, IDC_RATE_AFTER));
        EXPECT_TRUE(RateSelectedAndFocused(d));

        ::SetDlgItemTextA(d, IDC_RATE, "30");
        Click(d, IDC_AUTO_REFRESH);
        EXPECT_EQ(Rate(d), "");
        Click(d, IDC_AUTO_REFRESH);
        EXPECT_EQ(Rate(d), "30");

        ::SetDlgItemTextA(d, IDC_RATE, "");
        Click(d, IDC_AUTO_REFRESH);
        Click(d, IDC_AUTO_REFRESH);
        EXPECT_EQ(Rate(d), "10");
        ::SetDlgItemTextA(d, IDC_RATE, "7");
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.AutoRefresh, 1);
    EXPECT_EQ(dialog.settings.AutoRefreshRate, 7);
    EXPECT_EQ(boxes.Seen().size(), 1u);  // no error box
}

TEST_F(SettingsDialog, OkRefusesARateBelowOneOnlyWhileRefreshIsOn) {
    Settings start;
    start.AutoRefresh = 1;
    start.AutoRefreshRate = 20;
    HWND errorOwner = nullptr;
    CWindow* topDuringError = nullptr;
    bool stillOpen = false, selectedAfterError = false;
    CWindow* topAfterError = nullptr;
    INT_PTR result = Run(start, [&](HWND d) {
        EXPECT_EQ(Rate(d), "20");
        boxes.SetHandler([&](const BoxWatcher::Box& box) {
            errorOwner = ::GetWindow(box.window, GW_OWNER);
            topDuringError = app.TopWindow();
            return false;
        });
        for (const char* refused : {"", "0", "000"}) {
            ::SetDlgItemTextA(d, IDC_RATE, refused);
            ::SendMessageA(d, WM_COMMAND, IDOK, 0);
        }
        stillOpen = ::IsWindow(d) != FALSE;
        selectedAfterError = RateSelectedAndFocused(d);
        topAfterError = app.TopWindow();
        Click(d, IDC_AUTO_REFRESH);  // off: the field is not read at OK
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.Seen().size(), 4u);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(boxes.Seen()[i].caption, "FEHLER");
        EXPECT_EQ(boxes.Seen()[i].text,
                  Cp1252("FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein."));
    }
    EXPECT_EQ(errorOwner, boxes.Seen()[0].window);
    EXPECT_NE(topDuringError, &dialog);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(selectedAfterError);
    EXPECT_EQ(topAfterError, &dialog);
    EXPECT_EQ(dialog.settings.AutoRefresh, 0);
    EXPECT_EQ(dialog.settings.AutoRefreshRate, 10);  // the empty field gave the default
    EXPECT_EQ(app.TopWindow(), nullptr);
}

TEST_F(SettingsDialog, TheWarningBoxFollowsFolderPathsAndKeepsItsValue) {
    Settings start;
    start.ShowFolderPath = 0;
    start.WarnFolderPath = 1;
    INT_PTR result = Run(start, [&](HWND d) {
        EXPECT_FALSE(Checked(d, IDC_WARN_FOLDER_PATH));
        EXPECT_FALSE(Enabled(d, IDC_WARN_FOLDER_PATH) || Enabled(d, IDC_WARN_SECOND_LINE));
        Click(d, IDC_SHOW_FOLDER_PATH);
        EXPECT_TRUE(Checked(d, IDC_WARN_FOLDER_PATH));
        EXPECT_TRUE(Enabled(d, IDC_WARN_FOLDER_PATH) && Enabled(d, IDC_WARN_SECOND_LINE));
        Click(d, IDC_WARN_FOLDER_PATH);
        Click(d, IDC_SHOW_FOLDER_PATH);
        Click(d, IDC_SHOW_FOLDER_PATH);
        EXPECT_FALSE(Checked(d, IDC_WARN_FOLDER_PATH));
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.settings.ShowFolderPath, 1);
    EXPECT_EQ(dialog.settings.WarnFolderPath, 0);
}

TEST_F(SettingsDialog, HelpButtonAndF1OpenTheSettingsPageAndEscapeCancels) {
    app.SetModulePath("C:\\Tools\\foldscan.dll");
    Settings start;
    INT_PTR result = Run(start, [&](HWND d) {
        Click(d, IDC_HELP_BUTTON);
        ::PostMessageA(::GetDlgItem(d, IDC_SHOW_FOLDER_PATH), WM_KEYDOWN, VK_F1, 0x003B0001);
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(helpStrings, (std::vector<std::string>(2, "C:\\Tools\\foldscan.chm::/pages/ref_dlg_einst.htm")));
}
