#pragma once

#include "platform/CModuleApp.h"
#include "settings/ProfileStore.h"
#include "ui/MessageHost.h"

#include <memory>
#include <string>

class CDialog;
class CWindow;

// A reusable application base for extensions: the module's own path, the
// settings store, the help handler and the top window (MessageHost), which
// owns every box, dialog and help window the extension opens.
class CExtensionApp : public CModuleApp, public MessageHost {
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
    INT_PTR RunModal(CDialog& dialog) override;
    std::string MessageText(UINT id) const override { return LoadString(id); }

    std::unique_ptr<ProfileStore> settingsStore;
    std::string modulePath;

protected:
    // The settings file beside the module (its name with ".ini"); empty
    // without a module path.
    std::string standbySettingsPath;

    // Replaces the settings store by one over settingsPath.
    void CreateSettingsStore();
};
