#pragma once

#include <windows.h>

#include <string>

// The window messages between the mail client and foldscan.dll's panel, as a
// host knows them: stated apart from the panel's own names, so that a test
// from outside notices when a number the mail client relies on changes.
namespace PanelMessages {
// From the host to the panel.
constexpr UINT HostStart = 0x0B09;
constexpr UINT HostResize = 0x0B0A;
constexpr UINT HostSizeLimits = 0x0B0B;
constexpr UINT HostPositionQuery = 0x0B0C;
// From the panel to the host.
constexpr UINT AskMailboxPath = 3046;
constexpr UINT AskNewmailPath = 3045;
// Posted to the panel by its own worker threads.
constexpr UINT AutoRefreshMessage = WM_USER + 1;
constexpr UINT TickerMessage = WM_USER + 2;
}  // namespace PanelMessages

// The mail client's window as the Windows tests play it: a visible top-level
// window that answers the panel's questions for its directories with mailbox
// and newmail, and counts its own timer messages. It passes nothing on to the
// panel; the tests send the host's messages themselves.
class TestHost {
public:
    explicit TestHost(int width = 700, int height = 600);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND Handle() const { return window; }
    int Timers() const { return timers; }

    // What the host answers when the panel asks; the panel asks as it is created.
    std::string mailbox;
    std::string newmail;

    // Handles the messages waiting on this thread; Pump goes on handling them
    // as they come for the given time.
    static void HandlePending();
    static void Pump(DWORD milliseconds);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    int timers = 0;
};
