#include "panel/CMenuHandle.h"

CMenuHandle::~CMenuHandle() {
    if (borrowed)
        Detach();
    else
        DestroyMenu();
}

std::unique_ptr<CMenuHandle> CMenuHandle::SubMenuOf(const CMenu& parent, int position) {
    HMENU sub = parent.SubMenu(position);
    if (!sub) return nullptr;
    std::unique_ptr<CMenuHandle> wrapper(new CMenuHandle);
    wrapper->borrowed = true;
    if (!wrapper->Attach(sub)) return nullptr;
    return wrapper;
}
