#pragma once

#include <windows.h>

#include <string>

// The host's window that holds the panel. It answers the panel's path
// questions and passes on its size, size limits, activation and focus the way
// the mail client does.
class HostFrame {
public:
    HostFrame(const std::string& mailbox, const std::string& newmail);
    ~HostFrame();
    HostFrame(const HostFrame&) = delete;
    HostFrame& operator=(const HostFrame&) = delete;

    bool Create(int clientWidth, int clientHeight);
    HWND Handle() const { return frame; }

    void SetPanel(HWND panelWindow) { panel = panelWindow; }
    HWND Panel() const { return panel; }

    // Moves the window so that its top-left corner is at the given point of
    // the screen, keeping its size.
    void PlaceAt(int left, int top) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void AnswerPath(const std::string& path, WPARAM capacity, LPARAM buffer) const;

    std::string mailbox;
    std::string newmail;
    HWND frame = nullptr;
    HWND panel = nullptr;
};
