#pragma once

#include <windows.h>

// Opens a help string (the help file's path, optionally followed by "::" and
// a page, "#" and an anchor) in a help window owned by owner. Returns that
// window, or none when the help cannot be shown. Tests install a viewer of
// their own, as they install a trace sink.
using HelpViewer = HWND (*)(HWND owner, const char* helpString);

// Installs a viewer (none restores the system's) and returns the previous one.
HelpViewer SetHelpViewer(HelpViewer viewer);

HWND ShowHelp(HWND owner, const char* helpString);
