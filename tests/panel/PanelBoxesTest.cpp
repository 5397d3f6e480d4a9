// The boxes and dialogs the panel opens, seen from the host: the warning
// about a missing hierarchy file, the settings dialog, help that cannot be
// found, and a host that closes the panel while a box is open.
#include "tests/panel/PanelTest.h"

#include "tests/support/Cp1252.h"
#include "tests/support/FolderHeads.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Warning502 =
    Cp1252("WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden.");

std::vector<std::string> Captions(const BoxWatcher& boxes) {
    std::vector<std::string> captions;
    for (const BoxWatcher::Box& box : boxes.Seen()) captions.push_back(box.caption);
    return captions;
}

class PanelBoxes : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        mailbox.Write("Eins.PMM", PmmHead("Eins"), 500);
    }

    void TearDown() override { EXPECT_EQ(harness.boxes.Overdue(), 0); }

    void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    std::string Text(HWND dialog, int id) {
        char text[64] = {};
        ::GetDlgItemTextA(dialog, id, text, static_cast<int>(sizeof text));
        return text;
    }
};

}  // namespace

TEST_F(PanelBoxes, EveryRefreshWithoutTheHierarchyFileWarnsOnceWhileTheHostIsDisabled) {
    bool hostEnabledDuringBox = true;
    harness.boxes.SetHandler([&](const BoxWatcher::Box&) {
        hostEnabledDuringBox = ::IsWindowEnabled(harness.Host()) != FALSE;
        return false;
    });
    ASSERT_TRUE(harness.Open());
    ASSERT_EQ(harness.boxes.Seen().size(), 1u);
    EXPECT_EQ(harness.boxes.Seen()[0].caption, "WARNUNG");
    EXPECT_EQ(harness.boxes.Seen()[0].text, Warning502);
    EXPECT_FALSE(hostEnabledDuringBox);
    EXPECT_TRUE(::IsWindowEnabled(harness.Host()));
    EXPECT_EQ(::GetActiveWindow(), harness.Host());
    // The list is filled all the same, without folder paths.
    EXPECT_EQ(harness.Column(2), (std::vector<std::string>{Cp1252("<Posteingang>"), "Eins"}));

    harness.Command(ID_REFRESH);
    EXPECT_EQ(harness.boxes.Seen().size(), 2u);
    // Refreshes that read only what changed warn too: a failed reading is never kept.
    harness.Send(HostMessages::AutoRefresh);
    harness.HandlePending();
    EXPECT_EQ(harness.boxes.Seen().size(), 3u);
}

TEST_F(PanelBoxes, NoWarningWithTheHierarchyFileOrWithoutTheWishForIt) {
    mailbox.Write("hierarch.pm", "");
    ASSERT_TRUE(harness.Open());
    harness.Close();
    ::DeleteFileA((mailbox.Path() + "hierarch.pm").c_str());
    for (const char* settings : {"WarnFolderPath=0\r\n", "ShowFolderPath=0\r\n"}) {
        Settings(settings);
        ASSERT_TRUE(harness.Open());
        harness.Command(ID_REFRESH);
        harness.Close();
    }
    EXPECT_TRUE(harness.boxes.Seen().empty()) << harness.boxes.Seen()[0].text;
}

TEST_F(PanelBoxes, AHostThatClosesThePanelDuringTheWarningEndsTheRefresh) {
    HWND slot = nullptr;
    harness.boxes.SetHandler([&](const BoxWatcher::Box&) {
        ::DestroyWindow(slot);
        return false;
    });
    ASSERT_EQ(harness.Entry()(0, 0, harness.Host(), 0, &slot, 0), 1);
    ::SendMessageA(slot, HostMessages::Start, 0, 0);  // the first refresh warns; the panel goes meanwhile
    harness.HandlePending();
    EXPECT_FALSE(::IsWindow(slot));
    EXPECT_EQ(harness.boxes.Seen().size(), 1u);
    EXPECT_TRUE(::IsWindowEnabled(harness.Host()));

    // The next panel works as if nothing had happened.
    harness.boxes.SetHandler(nullptr);
    Settings("WarnFolderPath=0\r\n");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Column(2), (std::vector<std::string>{Cp1252("<Posteingang>"), "Eins"}));
    EXPECT_EQ(harness.Summary(), "2 Dateien, 500 Bytes (500 Bytes)");
}

TEST_F(PanelBoxes, AHostThatGoesAwayDuringTheWarningTakesBoxAndPanelWithIt) {
    TestHost other;
    HWND host = other.Handle();
    harness.boxes.SetHandler([&](const BoxWatcher::Box&) {
        ::DestroyWindow(host);
        return true;
    });
    HWND slot = nullptr;
    ASSERT_EQ(harness.Entry()(0, 0, host, 0, &slot, 0), 1);
    ::SendMessageA(slot, HostMessages::Start, 0, 0);
    harness.HandlePending();
    EXPECT_FALSE(::IsWindow(host));
    EXPECT_FALSE(::IsWindow(slot));
    EXPECT_FALSE(::IsWindow(harness.boxes.Seen().at(0).window));
}

TEST_F(PanelBoxes, ConfirmedSettingsAreSavedAndShownAtOnce) {
    mailbox.Write("hierarch.pm", "");
    mailbox.Write("Zwei.PMM", PmmHead("Zwei"), 300);
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Column(2)[0], "<??" "?>Eins");

    std::vector<bool> hostEnabled;
    harness.boxes.SetHandler([&](const BoxWatcher::Box& box) {
        hostEnabled.push_back(::IsWindowEnabled(harness.Host()) != FALSE);
        if (box.caption != "Einstellungen") return false;
        HWND dialog = box.window;
        Click(dialog, IDC_SHOW_FOLDER_PATH);  // no folder paths
        Click(dialog, IDC_AUTO_REFRESH);  // automatic refresh on...
        ::SetDlgItemTextA(dialog, IDC_RATE, "");
        ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // ... with no rate: refused with a box
        EXPECT_TRUE(::IsWindow(dialog));
        ::SetDlgItemTextA(dialog, IDC_RATE, "25");
        ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    harness.Command(ID_SETTINGS);
    EXPECT_EQ(Captions(harness.boxes), (std::vector<std::string>{"Einstellungen", "FEHLER"}));
    EXPECT_EQ(harness.boxes.Seen()[1].text, Cp1252("FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein."));
    EXPECT_EQ(hostEnabled, (std::vector<bool>{false, false}));
    EXPECT_TRUE(::IsWindowEnabled(harness.Host()));

    // Saved at once, and the posted refresh shows the folders without paths.
    std::string file = mailbox.Read("KVT-FSCN.PM");
    EXPECT_NE(file.find("ShowFolderPath=0"), std::string::npos) << file;
    EXPECT_NE(file.find("AutoRefresh=1"), std::string::npos);
    EXPECT_NE(file.find("AutoRefreshRate=25"), std::string::npos);
    EXPECT_EQ(harness.Column(2), (std::vector<std::string>{Cp1252("<Posteingang>"), "Eins", "Zwei"}));
}

TEST_F(PanelBoxes, CancelledSettingsChangeNothing) {
    Settings("ShowNewMailFolder=0\r\nWarnFolderPath=0\r\n");
    ASSERT_TRUE(harness.Open());
    harness.Close();
    std::string saved = mailbox.Read("KVT-FSCN.PM");
    ASSERT_TRUE(harness.Open());
    std::string summary = harness.Summary();
    harness.boxes.SetHandler([&](const BoxWatcher::Box& box) {
        Click(box.window, IDC_SHOW_FOLDER_PATH);
        Click(box.window, IDC_AUTO_REFRESH);
        ::SendMessageA(box.window, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    mailbox.Write("Neu.PMM", PmmHead("Neu"), 100);  // a refresh would show it
    harness.Command(ID_SETTINGS);
    EXPECT_EQ(Captions(harness.boxes), std::vector<std::string>{"Einstellungen"});
    EXPECT_EQ(mailbox.Read("KVT-FSCN.PM"), saved);
    EXPECT_EQ(harness.Summary(), summary);
    harness.Close();
    EXPECT_EQ(mailbox.Read("KVT-FSCN.PM"), saved);
}

TEST_F(PanelBoxes, HelpOpensTheViewerOwnedByThePanelsWindow) {
    Settings("WarnFolderPath=0\r\n");
    ASSERT_TRUE(harness.Open());
    harness.Command(ID_HELP_PANEL);
    EXPECT_TRUE(harness.boxes.Seen().empty()) << harness.boxes.Seen()[0].text;
    HWND viewer = ::FindWindowA(nullptr, "Hilfe zu foldscan");
    ASSERT_TRUE(viewer) << "no help window";
    EXPECT_EQ(::GetAncestor(::GetWindow(viewer, GW_OWNER), GA_ROOT), harness.Host());
    ::DestroyWindow(viewer);
}

TEST_F(PanelBoxes, HelpThatCannotBeFoundSaysSoOnceAndThePanelGoesOn) {
    std::string help = harness.LibraryPath();
    ::DeleteFileA(help.replace(help.size() - 3, 3, "chm").c_str());
    Settings("WarnFolderPath=0\r\n");
    ASSERT_TRUE(harness.Open());
    for (int command : {ID_HELP_CONTENTS, ID_HELP_PANEL}) {
        harness.boxes.Clear();
        harness.Command(command);
        ASSERT_EQ(harness.boxes.Seen().size(), 1u) << command;
        EXPECT_EQ(harness.boxes.Seen()[0].caption, "foldscan");
        EXPECT_EQ(harness.boxes.Seen()[0].text, "FEHLER 001: Online-Hilfe-Datei nicht gefunden.");
    }
    harness.Command(ID_REFRESH);
    EXPECT_EQ(harness.Summary(), "2 Dateien, 500 Bytes (500 Bytes)");
}
