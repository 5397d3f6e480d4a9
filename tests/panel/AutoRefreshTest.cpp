// The panel's auto-refresh inside this program, timed through its trace lines:
// a refresh at once, then one per interval; ticks that queued up while the
// panel was busy ask for one refresh, not a burst; refreshes that take longer
// than the interval leave the host its own messages; a tick that a refresh
// overtook is dropped.
#include "app/CFoldscanApp.h"
#include "panel/CMainDlg.h"
#include "resources/resource.h"
#include "ui/Trace.h"

#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<DWORD> refreshTimes;
DWORD slowReadMs = 0;  // each reading of an unreadable folder file takes this long

void RecordRefreshes(const std::string& text) {
    if (text == "[foldscan::CMainDlg::OnRefresh]\n") refreshTimes.push_back(::GetTickCount());
    if (slowReadMs && text.find("[pmm.Analyze]") == 0) ::Sleep(slowReadMs);
}

class AutoRefresh : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
        host.mailbox = mailbox.Path();
        refreshTimes.clear();
        slowReadMs = 0;
        previousSink = SetTraceSink(RecordRefreshes);
    }
    void TearDown() override {
        if (panel.IsWindow()) ::DestroyWindow(panel.Handle());
        SetTraceSink(previousSink);
    }

    // Starts the panel with auto-refresh at this rate.
    void Start(int rate) {
        mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowFolderPath=0\r\nAutoRefresh=1\r\nAutoRefreshRate=" +
                                         std::to_string(rate) + "\r\n");
        ASSERT_TRUE(panel.Create(app, host.Handle()));
        panel.Send(HostMessages::Start);
    }

    std::vector<DWORD> Gaps() const {
        std::vector<DWORD> gaps;
        for (size_t i = 1; i < refreshTimes.size(); ++i) gaps.push_back(refreshTimes[i] - refreshTimes[i - 1]);
        return gaps;
    }

    CFoldscanApp app;
    TempDir mailbox;
    TestHost host;
    CMainDlg panel;
    TraceSink previousSink = nullptr;
};

}  // namespace

TEST_F(AutoRefresh, RefreshesAtOnceThenOncePerInterval) {
    Start(1);
    host.Pump(3400);
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
    host.Pump(200);
    size_t before = refreshTimes.size();
    ::Sleep(4500);  // the host is busy: four or five ticks wait in the queue
    host.Pump(300);
    EXPECT_EQ(refreshTimes.size() - before, 1u);
}

// A tick that the worker posted before a refresh that overtook it in the
// queue (the user's, here) asks for nothing more: the worker counts its next
// interval from that refresh.
TEST_F(AutoRefresh, ATickOvertakenByARefreshIsDropped) {
    Start(1000);
    host.Pump(500);
    ASSERT_EQ(refreshTimes.size(), 2u);  // the host's start and the first tick, at once
    panel.Post(HostMessages::AutoRefresh);
    panel.Send(WM_COMMAND, ID_REFRESH);
    host.Pump(300);
    EXPECT_EQ(refreshTimes.size(), 3u);
}

// Each refresh takes 1.5 s, at a rate of 1 s: posted ticks, which come
// before the host's timers and paints, must not follow each other back to
// back, and the host has its thread to itself for at least as long as each
// refresh took.
TEST_F(AutoRefresh, RefreshesLongerThanTheRateLeaveTheHostItsTimers) {
    mailbox.MakeDir("Gesperrt.PMM");  // cannot be opened: read on every refresh
    slowReadMs = 1500;
    Start(1);
    ::SetTimer(host.Handle(), 1, 100, nullptr);
    host.Pump(7000);
    ::KillTimer(host.Handle(), 1);
    ASSERT_GE(refreshTimes.size(), 2u);
    EXPECT_LE(refreshTimes.size(), 4u);  // 1.5 s of work, then at least 1.5 s of rest
    EXPECT_GE(host.Timers(), 15);        // about 35 in the host's share of the time
    for (DWORD gap : Gaps()) EXPECT_GE(gap, 2900u);
}

// Run by hand for the refresh period of a rate (FOLDSCAN_RATE, in seconds).
TEST_F(AutoRefresh, DISABLED_MeasuredPeriod) {
    const char* rate = std::getenv("FOLDSCAN_RATE");
    int seconds = rate ? std::atoi(rate) : 1;
    Start(seconds);
    host.Pump(static_cast<DWORD>(seconds) * 1000 * 6 + 500);
    std::vector<DWORD> gaps = Gaps();
    ASSERT_GT(gaps.size(), 2u);
    gaps.erase(gaps.begin());  // the start and the first tick
    std::sort(gaps.begin(), gaps.end());
    std::printf("rate %d s: %zu periods, median %lu ms, min %lu ms, max %lu ms\n", seconds, gaps.size(),
                gaps[gaps.size() / 2], gaps.front(), gaps.back());
}
