// foldhost: a stand-in for the mail client. It loads foldscan.dll, gives the
// panel a window, answers its questions, plays the client's messages and can
// print what the panel shows.
#include "host/BoxWatcher.h"
#include "host/HostFrame.h"
#include "host/HostOptions.h"
#include "host/PanelReader.h"
#include "resources/HostMessages.h"

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using FormInit = WORD(WINAPI*)(DWORD, LONG, HWND, DWORD, HWND*, DWORD);

const int ListId = 24001;

int Fail(const std::string& message) {
    std::fprintf(stderr, "foldhost: %s\n", message.c_str());
    return 2;
}

std::string BesideProgram(const char* name) {
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    size_t cut = full.find_last_of("\\/");
    return (cut == std::string::npos ? std::string() : full.substr(0, cut + 1)) + name;
}

// The panel's texts are code page 1252; the terminal wants UTF-8.
std::string ToUtf8(const std::string& text) {
    if (text.empty()) return text;
    int wide = ::MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> buffer(static_cast<size_t>(wide));
    ::MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), buffer.data(), wide);
    int narrow = ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

void HandlePending() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void ClickColumn(HWND panel, int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = ::GetDlgItem(panel, ListId);
    click.hdr.idFrom = ListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    ::SendMessageA(panel, WM_NOTIFY, ListId, reinterpret_cast<LPARAM>(&click));
}

void Print(const std::string& text) {
    std::string utf8 = ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

// Every box and dialog the panel opens is printed as it appears, a dialog with
// its labels, and closed.
std::unique_ptr<BoxWatcher> WatchBoxes(const HostOptions& options) {
    if (!options.WatchesBoxes()) return nullptr;
    auto watcher = std::make_unique<BoxWatcher>(options.holdBoxesMs > 0 ? options.holdBoxesMs : 0);
    watcher->SetHandler([](const BoxWatcher::Box& box) {
        Print("box\t" + box.caption + "\t" + box.text + "\n");
        for (const std::string& label : box.labels) Print("label\t" + label + "\n");
        return false;
    });
    return watcher;
}

void CALLBACK CloseHost(HWND window, UINT, UINT_PTR, DWORD) { ::DestroyWindow(window); }

int RunLoop() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!options.Parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::fprintf(stderr, "foldhost: %s\n%s", error.c_str(), HostOptions::Usage());
        return 2;
    }
    std::string dllPath = options.dll.empty() ? BesideProgram("foldscan.dll") : options.dll;
    HMODULE dll = ::LoadLibraryA(dllPath.c_str());
    if (!dll) return Fail("cannot load " + dllPath);
    auto formInit = reinterpret_cast<FormInit>(reinterpret_cast<void*>(::GetProcAddress(dll, "FORMINIT")));
    if (!formInit) return Fail(dllPath + " has no FORMINIT");

    HostFrame frame(options.mailbox, options.newmail);
    if (!frame.Create(options.width, options.height)) return Fail("cannot create the host window");
    _setmode(_fileno(stdout), _O_BINARY);
    std::unique_ptr<BoxWatcher> watcher = WatchBoxes(options);

    HWND panel = nullptr;
    if (!formInit(0, 0, frame.Handle(), 0, &panel, 0) || !panel) return Fail("FORMINIT failed");
    frame.SetPanel(panel);

    int position[2] = {0, 0};
    if (::SendMessageA(panel, HostMessages::PositionQuery, 0, reinterpret_cast<LPARAM>(position)))
        frame.PlaceAt(position[0], position[1]);
    ::ShowWindow(frame.Handle(), SW_SHOW);
    RECT client{};
    ::GetClientRect(frame.Handle(), &client);
    ::SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ::ShowWindow(panel, SW_SHOW);
    ::UpdateWindow(frame.Handle());
    ::SendMessageA(panel, HostMessages::Start, 0, 0);
    HandlePending();

    for (const HostOptions::Action& action : options.actions) {
        if (action.kind == HostOptions::Action::Command)
            ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(action.value, 0), 0);
        else
            ClickColumn(panel, action.value);
        HandlePending();
    }

    if (!options.dump) {
        // The host closes its window after a while, as a user would.
        if (options.quitAfterMs >= 0)
            ::SetTimer(frame.Handle(), 1, static_cast<UINT>(options.quitAfterMs), CloseHost);
        return RunLoop();
    }

    Print(PanelReader(panel).Dump());
    ::DestroyWindow(frame.Handle());  // the panel goes with it and saves its settings
    HandlePending();
    return 0;
}
