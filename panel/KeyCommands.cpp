#include "panel/KeyCommands.h"

#include "resources/resource.h"

namespace KeyCommands {

int CommandForKey(int virtualKey, bool ctrl, bool alt) {
    if (ctrl) {
        switch (virtualKey) {
        case 'A': return ID_REFRESH;
        case 'E': return ID_SETTINGS;
        case 'H': return ID_HELP_PANEL;
        case 'I': return ID_HELP_CONTENTS;
        case 'K': return ID_COMPACT_SIZES;
        case 'N': return ID_ABOUT;
        default: return 0;
        }
    }
    if (alt && virtualKey == 'P') return ID_SHOW_NEWMAIL;
    return 0;
}

}  // namespace KeyCommands
