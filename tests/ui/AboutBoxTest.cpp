// The About box runs modally on its resource; a timer reads its labels back
// from the window and closes it as "Schließen" does. A deadline destroys the
// box if it never closes, so the test cannot hang.
#include "ui/CAboutDlg.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string ProgramDir() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    return program.substr(0, program.find_last_of("\\/") + 1);
}

const int LabelIds[] = {IDC_ABOUT_DESCRIPTION, IDC_ABOUT_VERSION, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_MAILBOX,
                        IDC_ABOUT_NEWMAIL};

// What the timer saw of the open box.
struct Seen {
    bool open = false;
    std::vector<std::string> labels;
    RECT icon{};
    RECT iconTemplate{};
    bool iconShown = false;
};

class AboutBox : public ::testing::Test {
protected:
    // Runs the box until the timer has read it and closed it; the result of
    // the modal run.
    INT_PTR Run(CAboutDlg& box) {
        running = &box;
        seen = Seen();
        deadline = ::GetTickCount() + 10000;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Look);
        INT_PTR result = box.RunModalLoop();
        ::KillTimer(nullptr, timer);
        running = nullptr;
        return result;
    }

    static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
        HWND window = running ? running->Handle() : nullptr;
        if (!window) return;
        if (static_cast<LONG>(::GetTickCount() - deadline) > 0) {
            ::DestroyWindow(window);  // ends the modal loop
            return;
        }
        if (seen.open || !::IsWindowVisible(window)) return;
        seen.open = true;
        for (int id : LabelIds) {
            char text[512] = {};
            ::GetDlgItemTextA(window, id, text, sizeof text);
            seen.labels.push_back(text);
        }
        HWND icon = ::GetDlgItem(window, IDC_ABOUT_ICON);
        ::GetWindowRect(icon, &seen.icon);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&seen.icon), 2);
        // Place and size are converted apart, as the dialog manager does.
        RECT place = {19, 12, 20, 20};
        ::MapDialogRect(window, &place);
        seen.iconTemplate = {place.left, place.top, place.left + place.right, place.top + place.bottom};
        seen.iconShown = ::SendMessageA(icon, STM_GETICON, 0, 0) != 0;
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    static CAboutDlg* running;
    static Seen seen;
    static DWORD deadline;
};

CAboutDlg* AboutBox::running = nullptr;
Seen AboutBox::seen;
DWORD AboutBox::deadline = 0;

}  // namespace

TEST_F(AboutBox, ShowsTheModulesTextsAndTheIconKeepsItsTemplateSize) {
    CAboutDlg box(nullptr, ProgramDir() + "version_probe1.dll");
    box.mailboxDir = "C:\\Mail\\";
    box.newMailDir = "C:\\Mail\\New\\";
    EXPECT_EQ(Run(box), IDOK);
    ASSERT_TRUE(seen.open);
    EXPECT_TRUE(seen.iconShown);
    EXPECT_EQ(seen.icon.left, seen.iconTemplate.left);
    EXPECT_EQ(seen.icon.top, seen.iconTemplate.top);
    EXPECT_EQ(seen.icon.right, seen.iconTemplate.right);
    EXPECT_EQ(seen.icon.bottom, seen.iconTemplate.bottom);
    EXPECT_EQ(seen.labels, (std::vector<std::string>{"German entry", "v2.06a Build 001A (probe)", "",
                                                     "C:\\Mail\\", "C:\\Mail\\New\\"}));
    EXPECT_FALSE(box.IsWindow());
}

TEST_F(AboutBox, WithoutVersionBlockAndDirectoriesOnlyTheParenthesesRemain) {
    CAboutDlg box(nullptr, ProgramDir() + "version_probe0.dll");
    EXPECT_EQ(Run(box), IDOK);
    ASSERT_TRUE(seen.open);
    EXPECT_EQ(seen.labels, (std::vector<std::string>{"", " ()", "", "", ""}));
}
