#pragma once

#include <windows.h>

// The resolution a window is drawn at, in dots per inch; 96 is the standard
// screen, on which the pixel sizes of our windows were chosen.
namespace ScreenDpi {

constexpr int Standard = 96;

// GetDpiForWindow where user32 has it (Windows 10 1607 and later); elsewhere
// the screen's LOGPIXELSX. Never below 1: Standard when neither answers.
int ForWindow(HWND window);

// Pixels at the standard resolution, for a screen of dpi; rounded.
int Scale(int pixels, int dpi);

}  // namespace ScreenDpi
