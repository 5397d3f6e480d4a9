#pragma once

#include <windows.h>

// A menu handle. Whoever attached it decides whether DestroyMenu is called:
// this class only wraps the calls.
class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU Handle() const { return menu; }
    bool Attach(HMENU handle);
    HMENU Detach();
    bool Load(HINSTANCE module, UINT id) { return Attach(::LoadMenuA(module, MAKEINTRESOURCEA(id))); }
    bool DestroyMenu();

    HMENU SubMenu(int position) const { return ::GetSubMenu(menu, position); }
    bool CheckItem(UINT command, bool checked) const;
    // Shows the menu at a screen position; the chosen command reaches owner.
    bool TrackPopup(UINT flags, int x, int y, HWND owner) const;

protected:
    HMENU menu = nullptr;
};
