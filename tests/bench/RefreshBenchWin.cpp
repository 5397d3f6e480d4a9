// How long a refresh of a large mailbox keeps the host's window busy, against
// the least work any scan must do: list the directory, open every folder
// file, read its first 128 bytes, close it. Runs under Wine; all are measured
// alternately in the same run, and the medians are compared. The refreshes:
// the user's own (every file read), an auto-refresh tick with nothing changed
// and one after 1 % of the folder files grew (the writing is not timed).
// The mailbox also holds 300 ".MBX" files without a companion, which cannot
// be read. Then the panel's peak working set per folder, and the host's share
// of its own thread while the panel refreshes itself every second.
//
// refresh_bench.exe [folders]    (default 20000)
#include "store/FolderCache.h"
#include "store/FolderList.h"

#include "resources/resource.h"
#include "tests/support/CountingHeap.h"
#include "tests/support/TestHost.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using FormInit = WORD(WINAPI*)(DWORD, LONG, HWND, DWORD, HWND*, DWORD);

std::string mailbox;
std::string newmail;

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void MakeMailbox(int folders) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    mailbox = std::string(temp) + "foldscan-refresh-bench\\";
    newmail = mailbox + "newmail\\";
    ::CreateDirectoryA(mailbox.c_str(), nullptr);
    ::CreateDirectoryA(newmail.c_str(), nullptr);
    std::string hierarchy = "2,0,ROOT,,Postfach\r\n";
    for (int i = 0; i < folders; ++i) {
        char key[16], name[32], file[32];
        std::snprintf(key, sizeof key, "K%06d", i);
        std::snprintf(name, sizeof name, "Ordner %d", i);
        std::snprintf(file, sizeof file, "F%06d.PMM", i);
        std::string header(200, '\0');
        header.replace(0, std::string(name).size(), name);
        header.replace(86, 7, key);
        WriteFile(mailbox + file, header);
        char parent[16];
        std::snprintf(parent, sizeof parent, i < 20 ? "ROOT" : "K%06d", i % 20);
        hierarchy += std::string("1,") + std::to_string(i) + "," + key + "," + parent + "," + name + "\r\n";
    }
    for (int i = 0; i < 300; ++i) WriteFile(mailbox + "W" + std::to_string(i) + ".MBX", std::string(100, 'x'));
    WriteFile(mailbox + "hierarch.pm", hierarchy);
    WriteFile(mailbox + "KVT-FSCN.PM", "[MainDlg]\r\nSizeAndPos=0, 0, 900, 700\r\n");
}

// The least work: every folder file opened and its header read.
double LeastWork() {
    double start = Now();
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((mailbox + "*.PMM").c_str(), &found);
    char header[128];
    if (search != INVALID_HANDLE_VALUE) {
        do {
            HANDLE file = ::CreateFileA((mailbox + found.cFileName).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD got = 0;
            ::ReadFile(file, header, sizeof header, &got, nullptr);
            ::CloseHandle(file);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return Now() - start;
}

// Appends a byte to every hundredth folder file, from the round's own start,
// as new mail would: their rows change, so the list is rebuilt.
void GrowOnePercent(int folders, int round) {
    for (int i = round % 100; i < folders; i += 100) {
        char file[32];
        std::snprintf(file, sizeof file, "F%06d.PMM", i);
        HANDLE handle = ::CreateFileA((mailbox + file).c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(handle, "x", 1, &written, nullptr);
        ::CloseHandle(handle);
    }
}

// The scan alone, as a refresh runs it with the panel's default settings.
double ScanOnly() {
    FolderList list;
    double start = Now();
    list.Scan({mailbox, true, true, newmail, "<Posteingang>"});
    return Now() - start;
}

// What the kept readings of every folder take, as this 32-bit build lays
// them out, without and with the folder tree.
double KeptBytesPerFolder(int folders, bool withTree) {
    size_t before = CountingHeap::liveBytes;
    FolderCache cache;
    {
        FolderList list;
        list.UseReader(&cache);
        list.Scan({mailbox, withTree, false, newmail, ""});
    }
    return static_cast<double>(CountingHeap::liveBytes - before) / folders;
}

size_t WorkingSet(bool peak) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// The host's own loop for a while, with a timer of its own at 50 ms: how
// much of its thread the panel's messages take, and how long the host waited
// at most between two of its timer messages.
void Guest(const TestHost& host, HWND panel, double seconds) {
    ::SetTimer(host.Handle(), 1, 50, nullptr);
    const int timersBefore = host.Timers();
    double start = Now(), inPanel = 0, lastTimer = start, longestWait = 0;
    MSG message;
    while (Now() - start < seconds) {
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        double before = Now();
        if (message.hwnd == host.Handle() && message.message == WM_TIMER) {
            longestWait = std::max(longestWait, before - lastTimer);
            lastTimer = before;
        }
        ::DispatchMessageA(&message);
        if (message.hwnd == panel || ::IsChild(panel, message.hwnd)) inPanel += Now() - before;
    }
    ::KillTimer(host.Handle(), 1);
    double total = Now() - start;
    std::printf("auto-refresh every second for %.0f s: the panel took %.0f %% of the host's thread; "
                "host timers %d of %.0f, longest wait %.0f ms\n",
                total, 100 * inPanel / total, host.Timers() - timersBefore, total / 0.05, longestWait * 1000);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int folders = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::printf("making a mailbox of %d folders...\n", folders);
    MakeMailbox(folders);
    const size_t beforeLibrary = WorkingSet(false);

    HMODULE dll = ::LoadLibraryA("foldscan.dll");
    auto formInit = dll ? reinterpret_cast<FormInit>(reinterpret_cast<void*>(::GetProcAddress(dll, "FORMINIT"))) : nullptr;
    if (!formInit) {
        std::fprintf(stderr, "cannot load foldscan.dll\n");
        return 2;
    }
    TestHost host(900, 700);
    host.mailbox = mailbox;
    host.newmail = newmail;
    HWND panel = nullptr;
    if (!formInit(0, 0, host.Handle(), 0, &panel, 0)) return 2;
    ::ShowWindow(panel, SW_SHOW);
    host.HandlePending();
    // What a panel costs whatever the mailbox (the library, the common
    // controls, the windows) is not per folder.
    const size_t base = WorkingSet(false);
    ::SendMessageA(panel, HostMessages::Start, 0, 0);  // the first refresh
    host.HandlePending();

    // A refresh as the host waits for it: the message, then the repaint.
    auto timed = [&](UINT message, WPARAM wParam) {
        double start = Now();
        ::SendMessageA(panel, message, wParam, 0);
        ::UpdateWindow(panel);
        host.HandlePending();
        return Now() - start;
    };
    const UINT command = WM_COMMAND, tick = HostMessages::AutoRefresh;
    // The panel's memory, before this program scans anything itself: the
    // user's refresh, a tick, and a tick after changes.
    timed(command, ID_REFRESH);
    timed(tick, 0);
    GrowOnePercent(folders, 0);
    timed(tick, 0);
    const size_t peak = WorkingSet(true);
    std::printf("peak working set of the panel: %.0f bytes per folder (%.1f MB beside it for the library and "
                "its windows)\n",
                static_cast<double>(peak - base) / folders, static_cast<double>(base - beforeLibrary) / 1e6);
    std::vector<double> least, scan, full, unchanged, changed;
    // The freshly written mailbox settles before anything is timed.
    LeastWork();
    LeastWork();
    const int rounds = 9;
    for (int round = 0; round < rounds; ++round) {
        least.push_back(LeastWork());
        scan.push_back(ScanOnly());
        full.push_back(timed(command, ID_REFRESH));
        unchanged.push_back(timed(tick, 0));
        GrowOnePercent(folders, round + 1);
        changed.push_back(timed(tick, 0));
    }
    double l = Median(least);
    // The least of each is shown too: other programs on the machine only
    // ever make a round slower.
    const double lMin = *std::min_element(least.begin(), least.end());
    std::printf("folders %d, medians of %d: least work %.1f ms (least %.1f ms)\n", folders, rounds, l * 1000,
                lMin * 1000);
    auto report = [l, lMin](const char* what, const std::vector<double>& times) {
        double t = Median(times), tMin = *std::min_element(times.begin(), times.end());
        std::printf("  %-36s %8.1f ms  %.2fx   (least %.1f ms  %.2fx)\n", what, t * 1000, t / l, tMin * 1000,
                    tMin / lMin);
    };
    report("scan alone, reading everything", scan);
    report("user's refresh (40001)", full);
    report("tick, nothing changed", unchanged);
    report("tick, 1 % of the files changed", changed);

    ::DestroyWindow(panel);
    WriteFile(mailbox + "KVT-FSCN.PM", "[MainDlg]\r\nSizeAndPos=0, 0, 900, 700\r\nAutoRefresh=1\r\nAutoRefreshRate=1\r\n");
    if (!formInit(0, 0, host.Handle(), 0, &panel, 0)) return 2;
    ::ShowWindow(panel, SW_SHOW);
    ::SendMessageA(panel, HostMessages::Start, 0, 0);
    Guest(host, panel, 20);
    ::DestroyWindow(host.Handle());

    std::printf("kept per folder: %.0f bytes, with the folder tree %.0f bytes\n", KeptBytesPerFolder(folders, false),
                KeptBytesPerFolder(folders, true));
    return 0;
}
