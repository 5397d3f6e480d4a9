// How long a refresh of a large mailbox keeps the host's window busy, against
// the least work any scan must do: list the directory, open every folder
// file, read its first 128 bytes, close it. Runs under Wine; the two are
// measured alternately in the same run, and the medians are compared.
//
// refresh_bench.exe [folders]    (default 20000)
#include "store/FolderList.h"

#include <windows.h>

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

// The scan alone, as a refresh runs it with the panel's default settings.
double ScanOnly() {
    FolderList list;
    double start = Now();
    list.Scan({mailbox, true, true, newmail, "<Posteingang>"});
    return Now() - start;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 3046 || message == 3045) {
        const std::string& path = message == 3046 ? mailbox : newmail;
        lstrcpynA(reinterpret_cast<char*>(lParam), path.c_str(), static_cast<int>(wParam));
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
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

    HMODULE dll = ::LoadLibraryA("foldscan.dll");
    auto formInit = dll ? reinterpret_cast<FormInit>(reinterpret_cast<void*>(::GetProcAddress(dll, "FORMINIT"))) : nullptr;
    if (!formInit) {
        std::fprintf(stderr, "cannot load foldscan.dll\n");
        return 2;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.lpszClassName = "RefreshBenchHost";
    ::RegisterClassA(&windowClass);
    HWND host = ::CreateWindowExA(0, "RefreshBenchHost", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND panel = nullptr;
    if (!formInit(0, 0, host, 0, &panel, 0)) return 2;
    ::ShowWindow(panel, SW_SHOW);
    ::SendMessageA(panel, 0x0B09, 0, 0);  // the first refresh
    Pump();

    std::vector<double> least, scan, refresh;
    for (int round = 0; round < 5; ++round) {
        least.push_back(LeastWork());
        scan.push_back(ScanOnly());
        double start = Now();
        ::SendMessageA(panel, WM_COMMAND, 40001, 0);
        ::UpdateWindow(panel);  // the repaint belongs to the refresh
        Pump();
        refresh.push_back(Now() - start);
    }
    double l = Median(least), s = Median(scan), r = Median(refresh);
    std::printf("folders %d, medians of 5: least work %.1f ms, scan %.1f ms (%.2fx), refresh %.1f ms (%.2fx)\n",
                folders, l * 1000, s * 1000, s / l, r * 1000, r / l);
    ::DestroyWindow(host);
    return 0;
}
