#include "platform/CMenu.h"

bool CMenu::Hold(HMENU handle, bool owning) {
    if (owned) ::DestroyMenu(menu);
    bool isMenu = handle && ::IsMenu(handle);
    menu = isMenu ? handle : nullptr;
    owned = isMenu && owning;
    return isMenu;
}

bool CMenu::Load(HINSTANCE module, UINT id) { return Hold(::LoadMenuA(module, MAKEINTRESOURCEA(id)), true); }

bool CMenu::BorrowSubMenu(const CMenu& parent, int position) {
    return Hold(::GetSubMenu(parent.menu, position), false);
}

bool CMenu::CheckItem(UINT command, bool checked) const {
    return ::CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
}

bool CMenu::TrackPopup(UINT flags, int x, int y, HWND owner) const {
    return ::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr) != FALSE;
}
