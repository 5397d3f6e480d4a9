#pragma once

#include <windows.h>

#include <string>

class CDialog;
class CHelpMessageBox;
class CWindow;
class ProfileStore;

// What the windows ask of the application, handed to each when it is made:
// the strings, the window that owns every box and dialog (the top window),
// modal runs and numbered messages, the help and the settings store. The
// panel also registers itself as the main window and names the folder that
// holds the settings.
class AppServices {
public:
    virtual ~AppServices() = default;

    // A string resource of the module; empty when there is none.
    virtual std::string LoadString(UINT id) const = 0;
    // The window that owns whatever opens now; none before the panel exists.
    virtual HWND Owner() const = 0;
    // Runs a dialog modally; it is the top window while it runs. Runs nest.
    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // The box is about to show message messageNumber: it becomes the number
    // last shown, and the box's help goes to the application's help handler.
    virtual void ConnectHelp(CHelpMessageBox& box, int messageNumber) = 0;
    // The settings store over the current settings file; null when there is none.
    virtual ProfileStore* SettingsStore() = 0;
    // Opens the help file at a topic ("::/pages/..."); none opens its start page.
    virtual void DisplayHelp(const char* topic) = 0;
    // The module's file, whose version resource the About box shows.
    virtual const std::string& ModulePath() const = 0;

    // The panel becomes the main and the top window, and stops being them.
    virtual void SetMainWindow(CWindow* panel) = 0;
    virtual void ClearMainWindow() = 0;
    // The settings move to the settings file of this directory (ending in a
    // separator); a bare separator stands for the stand-by path.
    virtual void SetSettingsFolder(const std::string& directory) = 0;
};
