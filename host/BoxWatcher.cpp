#include "host/BoxWatcher.h"

#include <utility>

namespace {

const UINT PollMs = 20;
const char DialogClass[] = "#32770";
const int NoId = 0xFFFF;

// One watcher per thread timer; a thread has at most a few.
std::vector<std::pair<UINT_PTR, BoxWatcher*>> watchers;

std::string TextOf(HWND window) {
    char text[2048] = {};
    int length = ::GetWindowTextA(window, text, static_cast<int>(sizeof text));
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsDialog(HWND window) {
    char name[16] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof name));
    return std::string(name) == DialogClass;
}

bool IsTextLabel(HWND control) {
    char name[16] = {};
    ::GetClassNameA(control, name, static_cast<int>(sizeof name));
    LONG style = ::GetWindowLongA(control, GWL_STYLE);
    return lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) != SS_ICON;
}

// A message box's text is a static control without an id that shows no icon.
HWND LabelOf(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) == NoId && IsTextLabel(child)) return child;
    return nullptr;
}

// A dialog's own texts are the labels it fills in, which have ids; the fixed
// captions beside them have none.
std::vector<std::string> LabelsOf(HWND dialog) {
    std::vector<std::string> labels;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) != NoId && IsTextLabel(child)) labels.push_back(TextOf(child));
    return labels;
}

}  // namespace

BoxWatcher::BoxWatcher(DWORD holdMs, DWORD deadlineMs) : holdMs(holdMs), deadlineMs(deadlineMs) {
    timer = ::SetTimer(nullptr, 0, PollMs, OnTimer);
    if (timer) watchers.emplace_back(timer, this);
}

BoxWatcher::~BoxWatcher() {
    if (!timer) return;
    ::KillTimer(nullptr, timer);
    for (auto it = watchers.begin(); it != watchers.end(); ++it)
        if (it->second == this) {
            watchers.erase(it);
            break;
        }
}

BoxWatcher::Box BoxWatcher::Describe(HWND window) {
    Box box;
    box.window = window;
    box.caption = TextOf(window);
    HWND label = LabelOf(window);
    box.messageBox = label != nullptr;
    if (label) box.text = TextOf(label);
    box.labels = LabelsOf(window);
    return box;
}

void BoxWatcher::Close(const Box& box) {
    ::PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(box.messageBox ? IDOK : IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK BoxWatcher::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    for (const auto& entry : watchers)
        if (entry.first == id) {
            entry.second->Poll();
            return;
        }
}

BOOL CALLBACK BoxWatcher::OnThreadWindow(HWND window, LPARAM self) {
    reinterpret_cast<BoxWatcher*>(self)->Look(window);
    return TRUE;
}

void BoxWatcher::Poll() {
    // A handler may run a modal loop of its own (pressing a box's help
    // button can open another box); the timer then comes back in here, and
    // the inner box is found and closed by that inner call.
    ::EnumThreadWindows(::GetCurrentThreadId(), OnThreadWindow, reinterpret_cast<LPARAM>(this));
    DWORD now = ::GetTickCount();
    for (Box& box : seen) {
        if (!box.window || !::IsWindow(box.window)) {
            box.window = nullptr;
            continue;
        }
        // Only the innermost box takes input; those under it wait their turn.
        if (!::IsWindowEnabled(box.window)) continue;
        DWORD open = now - box.seenAt;
        if (open >= deadlineMs) {
            ++overdue;
            box.seenAt = now;  // tried again a deadline later
            Close(box);
        } else if (!box.handled && open >= holdMs) {
            box.handled = true;  // closed once
            Close(box);
        }
    }
}

bool BoxWatcher::IsKnown(HWND window) const {
    for (const Box& box : seen)
        if (box.window == window) return true;
    return false;
}

void BoxWatcher::Look(HWND window) {
    if (!::IsWindowVisible(window) || !IsDialog(window) || IsKnown(window)) return;
    Box box = Describe(window);
    box.seenAt = ::GetTickCount();
    seen.push_back(box);
    size_t index = seen.size() - 1;
    bool handled = onBox && onBox(box);
    if (index < seen.size() && seen[index].window == window) seen[index].handled = handled;
}
