// The panel's worker threads seen from the host: auto-refresh switched off in
// the settings, the ticker following the host's window, and a host that
// frees the library while the panel and its threads still run.
#include "tests/panel/PanelTest.h"

#include "tests/support/FolderHeads.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class PanelThreads : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        mailbox.Write("hierarch.pm", "");
        Settings("AutoRefresh=1\r\nAutoRefreshRate=1\r\nShowNewMailFolder=0\r\n");
    }

    // A folder appears; true when the panel shows it within the time given.
    bool Refreshed(int files, DWORD withinMs) {
        mailbox.Write("f" + std::to_string(files) + ".pmm", PmmHead("F"), 100);
        std::string expected = std::to_string(files) + " Dateien";
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < withinMs) {
            harness.Pump(20);
            if (harness.Summary().rfind(expected, 0) == 0) return true;
        }
        return false;
    }

    // The panel still answers, refreshes on command and saves when it goes.
    void ExpectWorkingPanel() {
        mailbox.Write("spaet.pmm", PmmHead("Spaet"), 100);
        harness.Command(ID_REFRESH);
        EXPECT_EQ(harness.Summary().substr(0, 9), "1 Dateien");
        ::DeleteFileA((mailbox.Path() + "KVT-FSCN.PM").c_str());
        harness.Close();
        EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find("SizeAndPos="), std::string::npos);
    }
};

}  // namespace

TEST_F(PanelThreads, AutoRefreshFollowsTheSettingsDialog) {
    ASSERT_TRUE(harness.Open());
    EXPECT_TRUE(Refreshed(1, 3000));  // on: a new folder shows without a command

    harness.boxes.SetHandler([&](const BoxWatcher::Box& box) {
        ::SendMessageA(::GetDlgItem(box.window, IDC_AUTO_REFRESH), BM_CLICK, 0, 0);
        ::SendMessageA(box.window, WM_COMMAND, IDOK, 0);
        return true;
    });
    harness.Command(ID_SETTINGS);  // off: no error box, and no refresh after the dialog's own
    ASSERT_EQ(harness.boxes.Seen().size(), 1u);
    harness.boxes.Clear();
    EXPECT_FALSE(Refreshed(2, 2500));
    EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find("AutoRefresh=0"), std::string::npos);
}

TEST_F(PanelThreads, TheTickerRecordsTheMovedHostWindowForTheNextStart) {
    Settings("ShowNewMailFolder=0\r\n");
    ASSERT_TRUE(harness.Open());
    ::SetWindowPos(harness.Host(), nullptr, 130, 90, 620, 480, SWP_NOZORDER);
    harness.Pump(1500);
    RECT frame{}, client{}, units = {0, 8, 0, 0};
    ::GetWindowRect(harness.Host(), &frame);
    ::GetClientRect(harness.Host(), &client);
    ::MapDialogRect(harness.Panel(), &units);
    harness.Close();
    char expected[64];
    std::snprintf(expected, sizeof expected, "SizeAndPos=%ld, %ld, %ld, %ld", frame.left, frame.top, client.right,
                  client.bottom + 3 * units.top / 8);
    EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find(expected), std::string::npos) << mailbox.Read("KVT-FSCN.PM");
}

TEST_F(PanelThreads, FreeingTheLibraryRightAfterThePanelDoesNoHarm) {
    ASSERT_TRUE(harness.Open());
    harness.Close();
    harness.Unload();
    harness.Pump(300);  // a last post of a worker would land in unmapped code
}

TEST_F(PanelThreads, FreeingTheLibraryWhileThePanelRunsKeepsItWorking) {
    ASSERT_TRUE(harness.Open());
    harness.Unload();
    harness.Pump(1200);  // ticks and refreshes keep coming
    ExpectWorkingPanel();
}

TEST_F(PanelThreads, FreeingTheLibraryFromAnotherThreadKeepsThePanelWorking) {
    ASSERT_TRUE(harness.Open());
    harness.Unload(true);
    harness.Pump(1200);
    ExpectWorkingPanel();
}

TEST_F(PanelThreads, FreeingTheLibraryBeforeTheThreadsStartKeepsThePanelWorking) {
    ASSERT_TRUE(harness.Create());
    harness.Unload();
    harness.Send(HostMessages::Start);
    harness.Pump(300);
    ExpectWorkingPanel();
}
