#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Watches this thread for the modal boxes and dialogs that open on it (the
// message boxes, the settings dialog, the About box) and closes them, so that
// an unattended run never waits for a user. It polls from a thread timer,
// whose messages every modal loop on the thread dispatches.
//
// Each window is reported once, when it is first seen. Unless the handler
// says it takes care of the window itself, the watcher closes it once it has
// been open for holdMs: a box with a text label (a message box) through its
// default button, any other dialog with Cancel. Whatever the handler said, a
// window still open after the deadline is closed and counted as overdue.
class BoxWatcher {
public:
    struct Box {
        HWND window = nullptr;
        std::string caption;
        std::string text;  // the label of a message box; empty for a dialog
        std::vector<std::string> labels;  // the labels that have an id, in the dialog's order
        bool messageBox = false;
        DWORD seenAt = 0;
        bool handled = false;  // the handler takes care of it
    };
    // Called once per window at first sight; true when it closes the window itself.
    using Handler = std::function<bool(const Box&)>;

    explicit BoxWatcher(DWORD holdMs = 0, DWORD deadlineMs = 15000);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    void SetHandler(Handler handler) { onBox = std::move(handler); }
    void SetHold(DWORD milliseconds) { holdMs = milliseconds; }

    const std::vector<Box>& Seen() const { return seen; }
    int Overdue() const { return overdue; }
    void Clear() { seen.clear(); }

    // The caption and labels of a box, in the box's own code-page bytes.
    static Box Describe(HWND window);
    // Ends a message box with its default button and a dialog with Cancel.
    static void Close(const Box& box);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    static BOOL CALLBACK OnThreadWindow(HWND window, LPARAM self);
    void Poll();
    void Look(HWND window);
    bool IsKnown(HWND window) const;

    UINT_PTR timer = 0;
    DWORD holdMs;
    DWORD deadlineMs;
    Handler onBox;
    std::vector<Box> seen;
    int overdue = 0;
};
