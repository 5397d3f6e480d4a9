#include "app/CFoldscanApp.h"

#include "app/HelpViewer.h"
#include "resources/resource.h"
#include "store/SplitPath.h"
#include "ui/Trace.h"

namespace {

const char SettingsFileName[] = "KVT-FSCN.PM";

struct MessageTopic {
    int messageId;
    const char* topic;
};

const MessageTopic MessageTopics[] = {
    {IDS_ERROR_UNEXPECTED, "::/pages/ref_mld_fehlerm.htm#e000"},
    {IDS_ERROR_START_AUTO, "::/pages/ref_mld_fehlerm.htm#e002"},
    {IDS_ERROR_STOP_AUTO, "::/pages/ref_mld_fehlerm.htm#e003"},
    {IDS_ERROR_RATE, "::/pages/ref_mld_fehlerm.htm#e004"},
    {IDS_ERROR_START_TICK, "::/pages/ref_mld_fehlerm.htm#e005"},
    {IDS_WARN_NO_MAILBOX, "::/pages/ref_mld_warnungen.htm#w501"},
    {IDS_WARN_NO_HIERARCHY, "::/pages/ref_mld_warnungen.htm#w502"},
};

}  // namespace

BOOL CFoldscanApp::InitInstance() {
    BOOL result = CExtensionApp::InitInstance();
    if (result) SetHelpHandler(OnMessageHelp, this);
    return result;
}

int CFoldscanApp::SetStrings() {
    if (!CExtensionApp::SetStrings()) return 0;
    Trace("[foldscan::CFoldscanApp::SetStrings] HelpPath = \"%s\"\n", helpPath.c_str());
    return 1;
}

void CFoldscanApp::SetModulePath(const std::string& path) {
    CExtensionApp::SetModulePath(path);
    SplitPath split(path);
    split.SetExtension(".chm");
    helpPath = split.FullPath();
}

// Settings written into the root of the drive would be nobody's: without a
// mailbox each panel keeps them at the stand-by path, as the first one does.
void CFoldscanApp::SetSettingsFolder(const std::string& directory) {
    UseSettingsFile(directory == "\\" ? standbySettingsPath : directory + SettingsFileName);
}

void CFoldscanApp::DisplayHelp(const char* topic) {
    std::string help = helpPath;
    if (topic) help += topic;
    Trace("[foldscan::CFoldscanApp::DisplayHelp] HelpString = \"%s\"\n", help.c_str());
    HWND owner = Owner();
    if (!ShowHelp(owner, help.c_str())) {
        std::string text = LoadString(IDS_ERROR_NO_HELP);
        SplitPath module(ModulePath());
        std::string caption = module.Name();
        ::MessageBoxA(owner, text.c_str(), caption.c_str(), MB_ICONSTOP | MB_OK);
    }
}

std::string CFoldscanApp::HelpTopicFor(int messageId) {
    for (const MessageTopic& row : MessageTopics)
        if (row.messageId == messageId) return row.topic;
    return std::string();
}

int CFoldscanApp::OnMessageHelp(int event, int messageNumber, void* context, CHelpMessageBox*) {
    if (event != HelpEvent::HelpRequested || !context) return 0;
    std::string topic = HelpTopicFor(messageNumber);
    static_cast<CFoldscanApp*>(context)->DisplayHelp(topic.c_str());
    return 0;
}
