#pragma once

#include "platform/CModuleApp.h"
#include "settings/ProfileStore.h"

#include <cstdint>
#include <memory>
#include <string>

class CDialog;
class CHelpMessageBox;
class CWindow;

// Called by the message boxes when help is asked for (event 5) and when a
// box closes (event 0), with the number of the message shown.
using HelpHandler = int (*)(int event, int messageNumber, void* context, CHelpMessageBox* box);

// A reusable application base for extensions: the module's own path, the
// settings store, the help handler and the top window, which owns every box,
// dialog and help window the extension opens.
class CExtensionApp : public CModuleApp {
public:
    ~CExtensionApp() override;

    BOOL InitInstance() override;

    // Works out the module path and the stand-by settings path; 0 when the
    // module's file name cannot be obtained.
    virtual int SetStrings();

    void SetMainWindow(CWindow* panel);
    void ClearMainWindow();
    void SetHelpHandler(HelpHandler handler, void* context);

    // Runs a dialog modally; it is the top window while it runs. Runs nest.
    INT_PTR RunModal(CDialog& dialog);

    CWindow* topWindow = nullptr;  // not owned
    HelpHandler helpHandler = nullptr;
    int32_t messageNumber = 0;
    void* helpContext = nullptr;
    std::unique_ptr<ProfileStore> settingsStore;
    std::string modulePath;

protected:
    // Replaces the settings store by one over settingsPath.
    void CreateSettingsStore();
};
