#pragma once

#include "ui/AppServices.h"

// Show the numbered message with this string id in a help message box owned
// by the application's top window: captioned "FEHLER" with the stop icon, or
// "WARNUNG" with the exclamation icon. Further values fill printf-style
// conversions in the message text. Nothing escapes: a box that cannot be
// made is written to the trace and not shown.
void ShowError(AppServices& app, UINT id, ...);
void ShowWarning(AppServices& app, UINT id, ...);
