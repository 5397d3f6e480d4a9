#include "refresh/MessagePoster.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr UINT Posted = WM_USER + 1;

// A message-only window of this thread, which receives what the poster posts.
class TargetWindow {
public:
    TargetWindow() : hwnd(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~TargetWindow() { Destroy(); }
    void Destroy() {
        if (hwnd) ::DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    HWND hwnd;
};

// Takes the posted messages out of this thread's queue until count have come
// or a generous deadline has passed; returns how many came.
int Receive(int count, LPARAM expected, DWORD deadlineMs = 20000) {
    int received = 0;
    DWORD start = ::GetTickCount();
    while (received < count && ::GetTickCount() - start < deadlineMs) {
        MSG message;
        if (::PeekMessageA(&message, nullptr, Posted, Posted, PM_REMOVE)) {
            EXPECT_EQ(message.wParam, 0u);
            EXPECT_EQ(message.lParam, expected);
            ++received;
        } else {
            ::Sleep(1);
        }
    }
    return received;
}

int Drain() {
    int drained = 0;
    MSG message;
    while (::PeekMessageA(&message, nullptr, Posted, Posted, PM_REMOVE)) ++drained;
    return drained;
}

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

}  // namespace

TEST(MessagePoster, PostsToTheWindowUntilStopped) {
    TargetWindow window;
    ASSERT_TRUE(window.hwnd);
    MessagePoster poster;
    poster.SetInterval(5, false);
    ASSERT_EQ(poster.Start(window.hwnd, Posted, true, 7), 0);
    EXPECT_EQ(Receive(5, 7), 5);
    EXPECT_EQ(poster.Stop(), 0);

    Drain();
    ::Sleep(50);
    EXPECT_EQ(Drain(), 0);
}

TEST(MessagePoster, PostsNothingOnceTheWindowIsGone) {
    TargetWindow window;
    MessagePoster poster;
    poster.SetInterval(5, false);
    ASSERT_EQ(poster.Start(window.hwnd, Posted, true, 0), 0);
    EXPECT_EQ(Receive(1, 0), 1);

    window.Destroy();
    Drain();
    ::Sleep(100);  // many slices
    EXPECT_EQ(Drain(), 0);
    EXPECT_EQ(poster.GetState(), PeriodicWorker::Running);
    EXPECT_EQ(poster.Stop(), 0);
}

// The library that holds a poster may be freed by its host while the thread
// runs; the thread's own reference keeps the code mapped until its end.
TEST(MessagePoster, TheThreadKeepsItsLibraryLoadedUntilItEnds) {
    using StartPosting = int(__cdecl*)(HWND, UINT);
    using StopPosting = int(__cdecl*)();
    const std::string path = BesideThisProgram("worker_module.dll");
    TargetWindow window;

    HMODULE module = ::LoadLibraryA(path.c_str());
    ASSERT_TRUE(module) << path;
    auto start = reinterpret_cast<StartPosting>(reinterpret_cast<void*>(::GetProcAddress(module, "StartPosting")));
    auto stop = reinterpret_cast<StopPosting>(reinterpret_cast<void*>(::GetProcAddress(module, "StopPosting")));
    ASSERT_TRUE(start && stop);
    ASSERT_EQ(start(window.hwnd, Posted), 0);
    ASSERT_EQ(Receive(1, 0), 1);

    ::FreeLibrary(module);
    EXPECT_EQ(::GetModuleHandleA("worker_module.dll"), module);
    EXPECT_EQ(Receive(3, 0), 3);  // the thread still runs in the library's code

    // Stopping calls into the library, so it is loaded again for the call.
    ASSERT_EQ(::LoadLibraryA(path.c_str()), module);
    EXPECT_EQ(stop(), 0);
    ::FreeLibrary(module);
    DWORD begin = ::GetTickCount();
    while (::GetModuleHandleA("worker_module.dll") && ::GetTickCount() - begin < 20000) ::Sleep(1);
    EXPECT_EQ(::GetModuleHandleA("worker_module.dll"), nullptr) << "the thread's reference was not dropped";
}
