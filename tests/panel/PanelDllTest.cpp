// The DLL seen from the host: FORMINIT, the host's messages, the summary line
// and the settings file, all through window messages.
#include "tests/panel/PanelTest.h"

#include "tests/support/Cp1252.h"
#include "tests/support/FolderHeads.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ChildCount(HWND parent) {
    int count = 0;
    ::EnumChildWindows(parent, CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
        std::fclose(file);
    }
    return bytes;
}

class PanelDll : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The warning about a missing hierarchy file is not these tests' subject.
        mailbox.Write("hierarch.pm", "");
    }
};

}  // namespace

TEST_F(PanelDll, ExportsExactlyFormInit) {
    auto base = reinterpret_cast<const unsigned char*>(harness.Module());
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    ASSERT_EQ(exports->NumberOfNames, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, 1u);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + names[0]), "FORMINIT");
}

TEST_F(PanelDll, ANonZeroSelectorCreatesNothing) {
    HWND slot = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(harness.Entry()(0, 1, harness.Host(), 0, &slot, 0), 0);
    EXPECT_EQ(harness.Entry()(7, -1, harness.Host(), 9, &slot, 3), 0);
    EXPECT_EQ(slot, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(ChildCount(harness.Host()), 0);
}

TEST_F(PanelDll, SelectorZeroGivesAHiddenChildWhateverTheOtherArguments) {
    HWND slot = nullptr;
    EXPECT_EQ(harness.Entry()(0xDEADBEEF, 0, harness.Host(), 0x12345678, &slot, 0xFFFFFFFF), 1);
    ASSERT_TRUE(::IsWindow(slot));
    EXPECT_EQ(::GetParent(slot), harness.Host());
    EXPECT_TRUE(::GetWindowLongA(slot, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(::IsWindowVisible(slot));

    // One panel object: a second call while its window exists is refused.
    HWND second = reinterpret_cast<HWND>(0x99);
    EXPECT_EQ(harness.Entry()(0, 0, harness.Host(), 0, &second, 0), 0);
    EXPECT_EQ(second, reinterpret_cast<HWND>(0x99));

    // Once the host has destroyed it, a new one can be made.
    ::DestroyWindow(slot);
    EXPECT_EQ(harness.Entry()(0, 0, harness.Host(), 0, &second, 0), 1);
    EXPECT_TRUE(::IsWindow(second));
    ::DestroyWindow(second);
}

TEST_F(PanelDll, TheSettingsFileLivesInTheMailboxDirectoryEvenWithoutItsBackslash) {
    harness.mailbox.pop_back();  // the host answers without the trailing backslash
    ASSERT_TRUE(harness.Open());
    harness.Close();
    EXPECT_FALSE(mailbox.Read("KVT-FSCN.PM").empty());
}

TEST_F(PanelDll, AnEmptyMailboxAnswerKeepsTheSettingsAtTheStandByPath) {
    char module[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameA(harness.Module(), module, MAX_PATH), 4u);
    std::string standBy(module);
    standBy.replace(standBy.size() - 4, 4, ".ini");
    // Another program may have left one there: it must come through unchanged.
    const char* const inRoot = "\\KVT-FSCN.PM";
    const bool rootFileBefore = ::GetFileAttributesA(inRoot) != INVALID_FILE_ATTRIBUTES;
    const std::string rootBytesBefore = ReadWhole(inRoot);
    {
        FILE* file = std::fopen(standBy.c_str(), "wb");
        ASSERT_TRUE(file);
        std::fputs("[MainDlg]\r\nWarnFolderPath=0\r\nShowFolderPath=0\r\n", file);
        std::fclose(file);
    }

    harness.mailbox.clear();
    ASSERT_TRUE(harness.Open());
    harness.Close();
    std::string saved = ReadWhole(standBy);
    std::remove(standBy.c_str());
    EXPECT_NE(saved.find("SizeAndPos="), std::string::npos) << saved;
    EXPECT_NE(saved.find("WarnFolderPath=0"), std::string::npos);
    EXPECT_EQ(::GetFileAttributesA(inRoot) != INVALID_FILE_ATTRIBUTES, rootFileBefore);
    EXPECT_EQ(ReadWhole(inRoot), rootBytesBefore);
    if (!rootFileBefore) ::DeleteFileA(inRoot);
}

// The settings folder is the panel's: a later panel without a mailbox does not
// inherit the one before it.
TEST_F(PanelDll, ALaterPanelWithAnEmptyMailboxAnswerSavesAtTheStandByPath) {
    std::string standBy = harness.LibraryPath();
    standBy.replace(standBy.size() - 4, 4, ".ini");
    std::ofstream(standBy, std::ios::binary) << "[MainDlg]\r\nWarnFolderPath=0\r\n";
    ASSERT_TRUE(harness.Open());
    harness.Close();
    ASSERT_FALSE(mailbox.Read("KVT-FSCN.PM").empty());
    mailbox.Write("KVT-FSCN.PM", "[Andere]\r\nz=3\r\n");

    harness.mailbox.clear();
    ASSERT_TRUE(harness.Open());
    harness.Close();
    EXPECT_NE(ReadWhole(standBy).find("SizeAndPos="), std::string::npos);
    EXPECT_EQ(mailbox.Read("KVT-FSCN.PM"), "[Andere]\r\nz=3\r\n");
}

// Until the host starts the panel; from then on the ticker records the host
// window's own placement.
TEST_F(PanelDll, DefaultPlacementWithoutStoredSizeAndPos) {
    ASSERT_TRUE(harness.Create());
    RECT panel = harness.PanelRect();
    EXPECT_EQ(panel.left, 0);
    EXPECT_EQ(panel.top, 0);
    EXPECT_EQ(panel.right - panel.left, 460);
    EXPECT_EQ(panel.bottom - panel.top, 444);
    int position[2] = {-1, -1};
    EXPECT_EQ(harness.Send(HostMessages::PositionQuery, 0, reinterpret_cast<LPARAM>(position)), 1);
    EXPECT_EQ(position[0], 25);
    EXPECT_EQ(position[1], 25);
}

TEST_F(PanelDll, AStoredPlacementIsUsedOnlyWhenItHasFourNumbers) {
    Settings("SizeAndPos=10, 20, 300, 250\r\n");
    ASSERT_TRUE(harness.Create());
    RECT panel = harness.PanelRect();
    EXPECT_EQ(panel.right - panel.left, 300);
    EXPECT_EQ(panel.bottom - panel.top, 250);
    int position[2] = {};
    harness.Send(HostMessages::PositionQuery, 0, reinterpret_cast<LPARAM>(position));
    EXPECT_EQ(position[0], 10);
    EXPECT_EQ(position[1], 20);
    harness.Close();

    Settings("SizeAndPos=10, 20, 300\r\n");
    ASSERT_TRUE(harness.Create());
    panel = harness.PanelRect();
    EXPECT_EQ(panel.right - panel.left, 460);
    EXPECT_EQ(panel.bottom - panel.top, 444);
}

TEST_F(PanelDll, SummaryLines) {
    Settings("ShowNewMailFolder=0\r\n");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Summary(), "0 Dateien, 0 Bytes (0 Bytes)");

    mailbox.Write("Eins.PMM", PmmHead("Eins"), 500);
    harness.Command(ID_REFRESH);
    EXPECT_EQ(harness.Summary(), "1 Dateien, 500 Bytes (500 Bytes)");

    mailbox.Write("Zwei.PMM", PmmHead("Zwei"), 3456789 - 500);
    harness.Command(ID_REFRESH);
    EXPECT_EQ(harness.Summary(), "2 Dateien, 3,3 MB (3.456.789 Bytes)");
}

TEST_F(PanelDll, TheNewMailRowAndItsToggle) {
    mailbox.Write("neu/a.CNM", std::string(100, 'a'));
    mailbox.Write("neu/b.cnm", std::string(200, 'b'));
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Rows(), (std::vector<std::vector<std::string>>{
                                  {"*.CNM", "300 Bytes", Cp1252("<Posteingang>")}}));
    harness.Command(ID_SHOW_NEWMAIL);
    EXPECT_TRUE(harness.Rows().empty());
    EXPECT_EQ(harness.Summary(), "0 Dateien, 0 Bytes (0 Bytes)");
    harness.Command(ID_SHOW_NEWMAIL);
    EXPECT_EQ(harness.Rows().size(), 1u);
}

TEST_F(PanelDll, CompactSizesToggleAndComeBack) {
    mailbox.Write("Gross.PMM", PmmHead("Gross"), 1536);
    Settings("ShowNewMailFolder=0\r\n");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Column(1), (std::vector<std::string>{"1,5 kB"}));
    harness.Command(ID_COMPACT_SIZES);
    EXPECT_EQ(harness.Column(1), (std::vector<std::string>{"1.536"}));
    harness.Command(ID_COMPACT_SIZES);
    EXPECT_EQ(harness.Column(1), (std::vector<std::string>{"1,5 kB"}));
}

TEST_F(PanelDll, HostResizeFollowsRestoredAndMaximisedOnly) {
    ASSERT_TRUE(harness.Open());
    harness.Send(HostMessages::Resize, SIZE_RESTORED, MAKELPARAM(500, 400));
    RECT r = harness.PanelRect();
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 400);
    harness.Send(HostMessages::Resize, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    r = harness.PanelRect();
    EXPECT_EQ(r.right - r.left, 500);
    harness.Send(HostMessages::Resize, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    r = harness.PanelRect();
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
}

TEST_F(PanelDll, SizeLimitsAnswerTheTemplateInAFramedWindow) {
    ASSERT_TRUE(harness.Open());
    MINMAXINFO limits{};
    limits.ptMaxTrackSize = {4000, 3000};
    harness.Send(HostMessages::SizeLimits, 0, reinterpret_cast<LPARAM>(&limits));
    RECT units = {0, 0, 178, 137};
    ::MapDialogRect(harness.Panel(), &units);
    EXPECT_EQ(limits.ptMinTrackSize.x, units.right + 2 * ::GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(limits.ptMinTrackSize.y,
              units.bottom + 2 * ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(limits.ptMaxTrackSize.x, 4000);
}

TEST_F(PanelDll, NoRowStaysSelectedAndEnterOrEscapeKeepThePanel) {
    mailbox.Write("A.PMM", PmmHead("A"), 200);
    mailbox.Write("B.PMM", PmmHead("B"), 300);
    ASSERT_TRUE(harness.Open());
    LVITEMA state{};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(harness.List(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(::SendMessageA(harness.List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);

    harness.Send(WM_COMMAND, IDOK);
    harness.Send(WM_COMMAND, IDCANCEL);
    harness.Send(WM_CLOSE);
    harness.HandlePending();
    EXPECT_TRUE(::IsWindow(harness.Panel()));
}

TEST_F(PanelDll, DestroyingThePanelWritesTheThirteenKeysInOrder) {
    ASSERT_TRUE(harness.Create());
    harness.Close();
    EXPECT_EQ(Lines(mailbox.Read("KVT-FSCN.PM")), (std::vector<std::string>{
                                                      "[MainDlg]",
                                                      "SizeAndPos=25, 25, 460, 444",
                                                      "Columns=110, 70, 240",
                                                      "ColOrder=0, 1, 2",
                                                      "Sort=0200000000000000",
                                                      "AutoRefresh=0",
                                                      "AutoRefreshRate=10",
                                                      "ShowFolderPath=1",
                                                      "WarnFolderPath=1",
                                                      "MailboxPathManual=0",
                                                      "MailboxPath=",
                                                      "NewmailPath=",
                                                      "CompactFileSizes=1",
                                                      "ShowNewMailFolder=1",
                                                  }));
}

TEST_F(PanelDll, ToggledSettingsReachTheFileWhenThePanelGoes) {
    ASSERT_TRUE(harness.Open());
    harness.Command(ID_COMPACT_SIZES);
    harness.Command(ID_SHOW_NEWMAIL);
    harness.Close();
    std::string file = mailbox.Read("KVT-FSCN.PM");
    EXPECT_NE(file.find("CompactFileSizes=0"), std::string::npos);
    EXPECT_NE(file.find("ShowNewMailFolder=0"), std::string::npos);
}

TEST_F(PanelDll, TheTickerRecordsTheHostWindowsPlacementInItsNormalStateOnly) {
    ASSERT_TRUE(harness.Open());
    ::SetWindowPos(harness.Host(), nullptr, 120, 80, 600, 500, SWP_NOZORDER);
    harness.Send(HostMessages::Ticker);
    RECT frame{}, client{};
    ::GetWindowRect(harness.Host(), &frame);
    ::GetClientRect(harness.Host(), &client);
    RECT units = {0, 8, 0, 0};
    ::MapDialogRect(harness.Panel(), &units);
    int position[2] = {};
    harness.Send(HostMessages::PositionQuery, 0, reinterpret_cast<LPARAM>(position));
    EXPECT_EQ(position[0], frame.left);
    EXPECT_EQ(position[1], frame.top);

    ::ShowWindow(harness.Host(), SW_MAXIMIZE);
    harness.Send(HostMessages::Ticker);
    harness.Send(HostMessages::PositionQuery, 0, reinterpret_cast<LPARAM>(position));
    EXPECT_EQ(position[0], frame.left);
    ::ShowWindow(harness.Host(), SW_MINIMIZE);
    harness.Send(HostMessages::Ticker);
    ::ShowWindow(harness.Host(), SW_RESTORE);

    harness.Close();
    char expected[64];
    std::snprintf(expected, sizeof expected, "SizeAndPos=%ld, %ld, %ld, %ld", frame.left, frame.top, client.right,
                  client.bottom + 3 * units.top / 8);
    EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find(expected), std::string::npos) << mailbox.Read("KVT-FSCN.PM");
}

TEST_F(PanelDll, TheListAndTheSummaryFollowThePanelsSize) {
    ASSERT_TRUE(harness.Open());
    harness.Send(HostMessages::Resize, SIZE_RESTORED, MAKELPARAM(400, 300));
    RECT units = {4, 8, 0, 0};
    ::MapDialogRect(harness.Panel(), &units);
    int marginX = units.left * 7 / 4, marginY = units.top * 7 / 8, gapY = units.top * 5 / 8;

    HWND summaryWindow = ::GetDlgItem(harness.Panel(), IDC_SUMMARY);
    RECT list{}, summary{};
    ::GetWindowRect(harness.List(), &list);
    ::GetWindowRect(summaryWindow, &summary);
    ::MapWindowPoints(nullptr, harness.Panel(), reinterpret_cast<POINT*>(&list), 2);
    ::MapWindowPoints(nullptr, harness.Panel(), reinterpret_cast<POINT*>(&summary), 2);
    int summaryHeight = summary.bottom - summary.top;
    EXPECT_EQ(list.left, marginX);
    EXPECT_EQ(list.top, marginY);
    EXPECT_EQ(list.right, 400 - marginX);
    EXPECT_EQ(list.bottom, 300 - gapY - marginY - summaryHeight);
    EXPECT_EQ(summary.left, marginX);
    EXPECT_EQ(summary.bottom, 300 - marginY);

    // Larger: only the list grows; the summary line keeps its height.
    harness.Send(HostMessages::Resize, SIZE_RESTORED, MAKELPARAM(800, 700));
    ::GetWindowRect(summaryWindow, &summary);
    EXPECT_EQ(summary.bottom - summary.top, summaryHeight);
}
