#include "platform/CMenu.h"

bool CMenu::Attach(HMENU handle) {
    if (!handle || !::IsMenu(handle)) return false;
    menu = handle;
    return true;
}

HMENU CMenu::Detach() {
    HMENU old = menu;
    menu = nullptr;
    return old;
}

bool CMenu::DestroyMenu() {
    bool ok = menu && ::DestroyMenu(menu);
    menu = nullptr;
    return ok;
}

bool CMenu::CheckItem(UINT command, bool checked) const {
    return ::CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
}

bool CMenu::TrackPopup(UINT flags, int x, int y, HWND owner) const {
    return ::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr) != FALSE;
}
