#pragma once

#include "platform/CMenu.h"

#include <memory>

// A menu wrapper that knows whether it owns its menu. A loaded menu is owned
// and destroyed with the wrapper; a sub-menu belongs to its parent menu and
// is only let go.
class CMenuHandle : public CMenu {
public:
    CMenuHandle() = default;
    ~CMenuHandle() override;

    // A borrowed wrapper for a sub-menu, or none when there is no such sub-menu.
    static std::unique_ptr<CMenuHandle> SubMenuOf(const CMenu& parent, int position);

    bool IsBorrowed() const { return borrowed; }

private:
    bool borrowed = false;
};
