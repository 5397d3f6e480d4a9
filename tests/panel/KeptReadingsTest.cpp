// Which refreshes of the loaded panel read every folder file and which take
// back what earlier ones read, and what the list keeps across them.
#include "tests/panel/PanelTest.h"

#include "tests/support/FolderHeads.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class KeptReadings : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowNewMailFolder=0\r\nShowFolderPath=0\r\nCompactFileSizes=0\r\n");
    }

    // Writes a folder file with the given write time, as the listing shows it.
    void WriteFolder(const std::string& name, const std::string& folder, const FILETIME& time) {
        PutTimeBack(mailbox.Write(name, PmmHead(folder), 3000), time);
    }

    void PutTimeBack(const std::string& path) { PutTimeBack(path, then); }
    void PutTimeBack(const std::string& path, const FILETIME& time) {
        HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::SetFileTime(file, nullptr, nullptr, &time);
        ::CloseHandle(file);
    }

    void Tick() {
        harness.Send(HostMessages::AutoRefresh);
        harness.HandlePending();
    }

    const FILETIME then{0x12345600u, 0x01D9A000u};
};

}  // namespace

// Content changed behind an unchanged listing entry shows which refreshes
// read the file: a listing cannot tell such a change, the user's refresh can.
TEST_F(KeptReadings, TicksAndTogglesTakeBackWhatWasReadTheUsersRefreshReadsEverything) {
    WriteFolder("a.pmm", "Alt", then);
    ASSERT_TRUE(harness.Open());
    ASSERT_EQ(harness.Column(2), (Strings{"Alt"}));

    WriteFolder("a.pmm", "Neu", then);
    Tick();
    EXPECT_EQ(harness.Column(2), (Strings{"Alt"}));
    harness.Command(ID_COMPACT_SIZES);
    EXPECT_EQ(harness.Column(1), (Strings{"2,9 kB"}));
    EXPECT_EQ(harness.Column(2), (Strings{"Alt"}));
    harness.Command(ID_SHOW_NEWMAIL);
    EXPECT_EQ(harness.Column(2), (Strings{"<Posteingang>", "Alt"}));

    harness.Command(ID_REFRESH);
    EXPECT_EQ(harness.Column(2), (Strings{"<Posteingang>", "Neu"}));
    // And the start of a new window reads everything too.
    WriteFolder("a.pmm", "Wieder", then);
    harness.Close();
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Column(2), (Strings{"<Posteingang>", "Wieder"}));
}

// A listing entry may lag behind its file: folder headers and the hierarchy
// file rewritten in place, with length and times put back, show within ten
// ticks all the same, a share of the files on each tick.
TEST_F(KeptReadings, RewritesThatTheListingDoesNotShowShowWithinTenTicks) {
    mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowNewMailFolder=0\r\nShowFolderPath=1\r\n");
    auto write = [&](const char* tree, const char* folder) {
        PutTimeBack(mailbox.Write("hierarch.pm", std::string("2,0,R,,Postfach\r\n1,0,K,R,") + tree + "\r\n1,0,L,K,x\r\n"));
        for (int i = 0; i < 30; ++i) PutTimeBack(mailbox.Write("f" + std::to_string(i) + ".pmm", PmmHead(folder, "L"), 3000));
    };
    write("Baum1", "Alt");
    ASSERT_TRUE(harness.Open());
    const std::string before = harness.Column(2)[0];
    ASSERT_EQ(harness.Column(2), Strings(30, before));
    std::string after = before;
    after.replace(after.find("Baum1"), 5, "Baum2");
    after.replace(after.rfind("Alt"), 3, "Neu");

    write("Baum2", "Neu");
    Tick();
    Strings rows = harness.Column(2);
    EXPECT_NE(std::count(rows.begin(), rows.end(), before), 30);
    EXPECT_GT(std::count(rows.begin(), rows.end(), before), 20);
    for (int tick = 1; tick < 10; ++tick) Tick();
    EXPECT_EQ(harness.Column(2), Strings(30, after));
}

// Whether the files listed change or only rows do, the list stays scrolled
// to the same file.
TEST_F(KeptReadings, TheListKeepsItsPlaceWhenRowsOrFilesChange) {
    for (int i = 0; i < 120; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%03d.pmm", i);
        WriteFolder(name, name, then);
    }
    ASSERT_TRUE(harness.Open());
    ::SendMessageA(harness.List(), LVM_ENSUREVISIBLE, 119, FALSE);
    ::SendMessageA(harness.List(), LVM_ENSUREVISIBLE, 60, FALSE);
    const int top = static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0));
    ASSERT_GT(top, 30);
    const std::string topFile = harness.Column(0)[top];
    auto topRow = [&] { return static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0)); };

    Tick();
    harness.Command(ID_REFRESH);
    EXPECT_EQ(topRow(), top);

    FILETIME later = then;
    later.dwLowDateTime += 10000000;
    WriteFolder("f000.pmm", "x-neu", later);  // sorts last now: the rows above move up
    Tick();
    EXPECT_EQ(harness.Column(2).back(), "x-neu");
    EXPECT_EQ(harness.Column(0)[topRow()], topFile);

    WriteFolder("a.pmm", "a", then);  // sorts first: the rows move down
    Tick();
    EXPECT_EQ(harness.Column(2).front(), "a");
    EXPECT_EQ(harness.Column(0)[topRow()], topFile);
}
