// The panel's auto-refresh inside this program, timed through its trace lines:
// a refresh at once, then one per interval; ticks that queued up while the
// panel was busy ask for one refresh, not a burst.
#include "app/CFoldscanApp.h"
#include "panel/CMainDlg.h"
#include "ui/Trace.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string mailboxAnswer;
std::vector<DWORD> refreshTimes;

void RecordRefreshes(const std::string& text) {
    if (text == "[foldscan::CMainDlg::OnRefresh]\n") refreshTimes.push_back(::GetTickCount());
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 3046 || message == 3045) {
        std::strncpy(reinterpret_cast<char*>(lParam), message == 3046 ? mailboxAnswer.c_str() : "", wParam);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void Pump(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (DWORD passed = 0; passed < milliseconds; passed = ::GetTickCount() - start) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
}

class AutoRefresh : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
        mailboxAnswer = mailbox.Path();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = HostProc;
        windowClass.lpszClassName = "AutoRefreshHost";
        ::RegisterClassA(&windowClass);
        host = ::CreateWindowExA(0, "AutoRefreshHost", "", WS_OVERLAPPEDWINDOW, 0, 0, 500, 500, nullptr, nullptr,
                                 nullptr, nullptr);
        refreshTimes.clear();
        previousSink = SetTraceSink(RecordRefreshes);
    }
    void TearDown() override {
        if (panel.IsWindow()) ::DestroyWindow(panel.Handle());
        SetTraceSink(previousSink);
        ::DestroyWindow(host);
    }

    // Starts the panel with auto-refresh at this rate.
    void Start(int rate) {
        mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowFolderPath=0\r\nAutoRefresh=1\r\nAutoRefreshRate=" +
                                         std::to_string(rate) + "\r\n");
        ASSERT_TRUE(panel.Create(app, host));
        panel.Send(0x0B09);
    }

    std::vector<DWORD> Gaps() const {
        std::vector<DWORD> gaps;
        for (size_t i = 1; i < refreshTimes.size(); ++i) gaps.push_back(refreshTimes[i] - refreshTimes[i - 1]);
        return gaps;
    }

    CFoldscanApp app;
    TempDir mailbox;
    HWND host = nullptr;
    CMainDlg panel;
    TraceSink previousSink = nullptr;
};

}  // namespace

TEST_F(AutoRefresh, RefreshesAtOnceThenOncePerInterval) {
    Start(1);
    Pump(3400);
    // The host's start, the first tick at once, then one a second.
    ASSERT_GE(refreshTimes.size(), 4u);
    ASSERT_LE(refreshTimes.size(), 6u);
    std::vector<DWORD> gaps = Gaps();
    EXPECT_LT(gaps[0], 300u);
    for (size_t i = 1; i < gaps.size(); ++i) {
        EXPECT_GT(gaps[i], 700u) << i;
        EXPECT_LT(gaps[i], 1700u) << i;
    }
}

TEST_F(AutoRefresh, TicksQueuedWhileThePanelWasBusyAskForOneRefresh) {
    Start(1);
    Pump(200);
    size_t before = refreshTimes.size();
    ::Sleep(4500);  // the host is busy: four or five ticks wait in the queue
    Pump(300);
    EXPECT_EQ(refreshTimes.size() - before, 1u);
}

// Run by hand for the refresh period of a rate (FOLDSCAN_RATE, in seconds).
TEST_F(AutoRefresh, DISABLED_MeasuredPeriod) {
    const char* rate = std::getenv("FOLDSCAN_RATE");
    int seconds = rate ? std::atoi(rate) : 1;
    Start(seconds);
    Pump(static_cast<DWORD>(seconds) * 1000 * 6 + 500);
    std::vector<DWORD> gaps = Gaps();
    ASSERT_GT(gaps.size(), 2u);
    gaps.erase(gaps.begin());  // the start and the first tick
    std::sort(gaps.begin(), gaps.end());
    std::printf("rate %d s: %zu periods, median %lu ms, min %lu ms, max %lu ms\n", seconds, gaps.size(),
                gaps[gaps.size() / 2], gaps.front(), gaps.back());
}
