#pragma once

#include <windows.h>

// A menu handle that owns its menu or borrows it. A loaded menu is owned and
// destroyed with the wrapper; a sub-menu belongs to its parent menu and is
// only borrowed.
class CMenu {
public:
    CMenu() = default;
    ~CMenu() {
        if (owned) ::DestroyMenu(menu);
    }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU Handle() const { return menu; }
    bool IsOwned() const { return owned; }
    // False, and nothing held, when there is no such menu.
    bool Load(HINSTANCE module, UINT id);
    bool BorrowSubMenu(const CMenu& parent, int position);

    bool CheckItem(UINT command, bool checked) const;
    // Shows the menu at a screen position; the chosen command reaches owner.
    bool TrackPopup(UINT flags, int x, int y, HWND owner) const;

private:
    // Lets go of the menu held before.
    bool Hold(HMENU handle, bool owning);

    HMENU menu = nullptr;
    bool owned = false;
};
