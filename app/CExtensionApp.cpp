#include "app/CExtensionApp.h"

#include "platform/CDialog.h"
#include "settings/PrivateProfileStore.h"
#include "store/SplitPath.h"

CExtensionApp::~CExtensionApp() = default;

BOOL CExtensionApp::InitInstance() {
    int result = SetStrings();
    CreateSettingsStore();
    return result;
}

int CExtensionApp::SetStrings() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(Module(), buffer, MAX_PATH);
    // A full buffer means the name was cut: that is no usable path either.
    if (length == 0 || length >= MAX_PATH) return 0;
    modulePath.assign(buffer, length);

    SplitPath split(modulePath);
    split.SetExtension(".ini");
    standbySettingsPath = split.FullPath();
    settingsPath = standbySettingsPath;
    return 1;
}

void CExtensionApp::CreateSettingsStore() {
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

INT_PTR CExtensionApp::RunModal(CDialog& dialog) {
    CWindow* saved = topWindow;
    topWindow = &dialog;
    INT_PTR result = dialog.RunModalLoop();
    topWindow = saved;
    return result;
}
