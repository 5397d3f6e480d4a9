// Fails the n-th allocation for n = 1, 2, ... while a numbered message is
// shown, until one showing gets through: nothing may escape, leak or stay
// disabled, and the top window must come back each time.
#include "app/CFoldscanApp.h"
#include "platform/CWindow.h"
#include "resources/resource.h"
#include "ui/ShowMessage.h"

#include "tests/support/CountingHeap.h"

#include <gtest/gtest.h>

namespace {

int boxesShown = 0;

// Closes every dialog of the thread; allocates nothing, so it never fails.
BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
    char name[16] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (lstrcmpA(name, "#32770") == 0 && ::IsWindowVisible(window)) {
        ++boxesShown;
        ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseDialog, 0);
}

BOOL CALLBACK CountDialog(HWND window, LPARAM counter) {
    char name[16] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (lstrcmpA(name, "#32770") == 0) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int OpenDialogs() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

TEST(MessageBoxAllocation, NoFailedAllocationEscapesOrLeavesTheHostDisabled) {
    CFoldscanApp app;
    ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                   nullptr, nullptr, nullptr);
    CWindow panel(owner);
    app.SetMainWindow(&panel);
    UINT_PTR timer = ::SetTimer(nullptr, 0, 10, CloseBoxes);

    int failedRuns = 0;
    for (long n = 1; n < 1000; ++n) {
        boxesShown = 0;
        long before = CountingHeap::liveBlocks;
        CountingHeap::allocationsLeft = n;
        ShowError(app, IDS_ERROR_RATE);
        bool failed = CountingHeap::allocationsLeft == 0;
        CountingHeap::allocationsLeft = 0;
        EXPECT_EQ(app.TopWindow(), &panel) << n;
        EXPECT_TRUE(::IsWindowEnabled(owner)) << n;
        EXPECT_EQ(OpenDialogs(), 0) << n;
        EXPECT_EQ(CountingHeap::liveBlocks, before) << n;
        if (!failed) {
            EXPECT_EQ(boxesShown, 1);
            break;
        }
        ++failedRuns;
    }
    EXPECT_GT(failedRuns, 2);  // the text, the box object's strings and its template at least
    ::KillTimer(nullptr, timer);
    ::DestroyWindow(owner);
}
