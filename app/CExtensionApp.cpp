#include "app/CExtensionApp.h"

#include "platform/CDialog.h"
#include "settings/PrivateProfileStore.h"
#include "store/SplitPath.h"
#include "ui/CHelpMessageBox.h"
#include "ui/Trace.h"

BOOL CExtensionApp::InitInstance() {
    // The dialogs' firewall says what it caught on the trace, like the rest.
    CDialog::ReportExceptionsTo([](const char* line) { Trace("%s", line); });
    int result = SetStrings();
    UseSettingsFile(settingsPath);
    return result;
}

int CExtensionApp::SetStrings() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(ModuleInstance(), buffer, MAX_PATH);
    // A full buffer means the name was cut: that is no usable path either.
    if (length == 0 || length >= MAX_PATH) return 0;
    SetModulePath(std::string(buffer, length));
    return 1;
}

void CExtensionApp::SetModulePath(const std::string& path) {
    modulePath = path;
    SplitPath split(modulePath);
    split.SetExtension(".ini");
    standbySettingsPath = split.FullPath();
    settingsPath = standbySettingsPath;
}

void CExtensionApp::UseSettingsFile(const std::string& path) {
    settingsPath = path;
    settingsStore.reset();
    settingsStore.reset(new PrivateProfileStore(settingsPath));
}

void CExtensionApp::SetMainWindow(CWindow* panel) {
    mainWindow = panel;
    topWindow = panel;
}

void CExtensionApp::ClearMainWindow() {
    if (!mainWindow) return;
    topWindow = nullptr;
    mainWindow = nullptr;
}

void CExtensionApp::SetHelpHandler(HelpHandler handler, void* context) {
    helpHandler = handler;
    helpContext = context;
}

HelpHandler CExtensionApp::RegisteredHelp(void** context) const {
    if (context) *context = helpContext;
    return helpHandler;
}

INT_PTR CExtensionApp::RunModal(CDialog& dialog) {
    CWindow* saved = topWindow;
    topWindow = &dialog;
    INT_PTR result = dialog.RunModalLoop();
    topWindow = saved;
    return result;
}

void CExtensionApp::ConnectHelp(CHelpMessageBox& box, int number) {
    messageNumber = number;
    if (helpHandler) box.SetHelp(helpHandler, messageNumber, helpContext);
}
