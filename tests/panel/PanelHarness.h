#pragma once

#include "host/BoxWatcher.h"
#include "resources/resource.h"
#include "tests/support/TestHost.h"

#include <string>
#include <vector>

// The stand-in host with foldscan.dll loaded afresh: it plays the mail client
// around the panel and reads what the panel shows through the list view's own
// messages. Every box or dialog the panel opens is recorded and closed, so
// that no test waits for a user.
class PanelHarness : public TestHost {
public:
    PanelHarness();
    ~PanelHarness();
    PanelHarness(const PanelHarness&) = delete;
    PanelHarness& operator=(const PanelHarness&) = delete;

    using FormInit = WORD(WINAPI*)(DWORD, LONG, HWND, DWORD, HWND*, DWORD);

    bool Loaded() const { return formInit != nullptr; }
    FormInit Entry() const { return formInit; }
    HMODULE Module() const { return module; }
    // The library's file; its help file lies beside it.
    const std::string& LibraryPath() const { return libraryPath; }
    HWND Host() const { return Handle(); }
    HWND Panel() const { return panel; }
    HWND List() const;

    // FORMINIT and the panel shown, as the host does before it starts it.
    // False when the panel could not be made.
    bool Create();
    // Create, then the start message and the messages that follow.
    bool Open();
    // Destroys the panel as the host does when it closes.
    void Close();
    // Frees the library as a host may, whatever the panel's state; from this
    // thread or from another one.
    void Unload(bool fromAnotherThread = false);

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void Command(int id) const;
    void ClickColumn(int column) const;

    std::vector<std::string> Titles() const;
    std::vector<std::vector<std::string>> Rows() const;  // cells in display order
    std::vector<std::string> Column(int index) const;    // one column by index, top to bottom
    std::vector<int> Widths() const;
    std::vector<int> Order() const;
    std::string Summary() const;
    RECT PanelRect() const;  // in the host's client coordinates

    BoxWatcher boxes;

private:
    std::string libraryPath;
    HMODULE module = nullptr;
    FormInit formInit = nullptr;
    HWND panel = nullptr;
};

