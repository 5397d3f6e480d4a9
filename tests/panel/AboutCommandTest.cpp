// Command 40005 of the DLL's panel: the About box, read from its window by a
// timer while it runs modally, then closed as "Schließen" does. A deadline
// destroys the box if it never closes, so the test cannot hang.
#include "tests/panel/PanelHarness.h"

#include "tests/support/Cp1252.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    HWND box = nullptr;
    std::vector<std::string> labels;
};

Seen seen;
DWORD deadline = 0;

BOOL CALLBACK FindInfoBox(HWND window, LPARAM found) {
    char title[16] = {};
    ::GetWindowTextA(window, title, sizeof title);
    if (::IsWindowVisible(window) && std::string(title) == "Info") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

std::string Label(HWND box, int id) {
    char text[512] = {};
    ::GetDlgItemTextA(box, id, text, sizeof text);
    return text;
}

void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindInfoBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    if (static_cast<LONG>(::GetTickCount() - deadline) > 0) {
        ::DestroyWindow(box);
        return;
    }
    if (seen.box) return;
    seen.box = box;
    for (int id : {24003, 24006, 24004, 24005, 24015}) seen.labels.push_back(Label(box, id));
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace

TEST(AboutCommand, ShowsTheDllsOwnVersionTextsAndThePanelsDirectories) {
    PanelHarness harness;
    ASSERT_TRUE(harness.Loaded());
    TempDir mailbox;
    harness.mailbox = mailbox.Path();
    std::string newmail = mailbox.MakeDir("neu");
    harness.newmail = newmail.substr(0, newmail.size() - 1);  // the panel adds the separator
    ASSERT_TRUE(harness.Open());

    seen = Seen();
    deadline = ::GetTickCount() + 10000;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Look);
    harness.Command(40005);
    ::KillTimer(nullptr, timer);

    ASSERT_NE(seen.box, nullptr) << "no About box";
    EXPECT_FALSE(::IsWindow(seen.box));
    EXPECT_EQ(seen.labels, (std::vector<std::string>{
                               Cp1252("Ordnerstatistik für das Mailprogramm"),
                               "v2.06 (foldscan)",
                               Cp1252("© 2026 Das foldscan-Team. Alle Rechte vorbehalten."),
                               mailbox.Path(),
                               newmail,
                           }));
    harness.Close();
}
