#pragma once

#include "ui/MessageHost.h"

#include <string>

class CWindow;
class ProfileStore;

// What the windows ask of the application, handed to each when it is made:
// the strings, the settings store, modal runs and numbered messages, the
// help, and the module's resources. The panel also registers itself as the
// main window and names the folder that holds the settings.
class AppServices : public MessageHost {
public:
    // The settings store over the current settings file; null when there is none.
    virtual ProfileStore* SettingsStore() = 0;
    // Opens the help file at a topic ("::/pages/..."); none opens its start page.
    virtual void DisplayHelp(const char* topic) = 0;
    // The module whose resources the windows load, and its file.
    virtual HINSTANCE Module() const = 0;
    virtual const std::string& ModulePath() const = 0;

    // The panel becomes the main and the top window, and stops being them.
    virtual void SetMainWindow(CWindow* panel) = 0;
    virtual void ClearMainWindow() = 0;
    // The settings move to the settings file of this directory (ending in a
    // separator); a bare separator stands for the stand-by path.
    virtual void SetSettingsFolder(const std::string& directory) = 0;
};
