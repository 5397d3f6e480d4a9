#pragma once

// The panel's keyboard shortcuts, typed while the folder list has the focus.
namespace KeyCommands {

// The command for a virtual key with the modifier state, or 0 for none.
// Ctrl is looked at first, so Ctrl+Alt+key counts as Ctrl+key; Shift is
// not looked at.
int CommandForKey(int virtualKey, bool ctrl, bool alt);

}  // namespace KeyCommands
