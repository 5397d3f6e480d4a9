#pragma once

#include "resources/HostMessages.h"

#include <windows.h>

#include <string>

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
