#pragma once

#include "platform/CModuleApp.h"
#include "settings/ProfileStore.h"
#include "ui/AppServices.h"
#include "ui/CHelpMessageBox.h"

#include <cstdint>
#include <memory>
#include <string>

// A reusable application base for extensions: the module's own path, the
// settings store, the help handler and the top window, which owns every box,
// dialog and help window the extension opens. The windows reach it only
// through AppServices.
class CExtensionApp : public CModuleApp, public AppServices {
public:
    ~CExtensionApp() override = default;

    BOOL InitInstance() override;

    // Works out the module path and the stand-by settings path; 0 when the
    // module's file name cannot be obtained.
    virtual int SetStrings();

    // Takes the module's file as its path: the stand-by settings path is the
    // same path with ".ini".
    virtual void SetModulePath(const std::string& path);

    void SetHelpHandler(HelpHandler handler, void* context);

    // AppServices
    std::string LoadString(UINT id) const override { return ResourceString(id); }
    HWND Owner() const override { return topWindow ? topWindow->Handle() : nullptr; }
    INT_PTR RunModal(CDialog& dialog) override;
    void ConnectHelp(CHelpMessageBox& box, int messageNumber) override;
    ProfileStore* SettingsStore() override { return settingsStore.get(); }
    const std::string& ModulePath() const override { return modulePath; }
    void SetMainWindow(CWindow* panel) override;
    void ClearMainWindow() override;

    // For those who look on (tests, the trace).
    CWindow* MainWindow() const { return mainWindow; }
    CWindow* TopWindow() const { return topWindow; }
    const std::string& SettingsPath() const { return settingsPath; }
    int32_t MessageNumber() const { return messageNumber; }
    HelpHandler RegisteredHelp(void** context = nullptr) const;

protected:
    // Replaces the settings store by one over this file.
    void UseSettingsFile(const std::string& path);

    std::string standbySettingsPath;  // empty without a module path

private:
    std::string modulePath;
    std::string settingsPath;
    std::unique_ptr<ProfileStore> settingsStore;
    CWindow* mainWindow = nullptr;  // not owned
    CWindow* topWindow = nullptr;   // not owned
    HelpHandler helpHandler = nullptr;
    void* helpContext = nullptr;
    int32_t messageNumber = 0;
};
