#pragma once

#include "app/CExtensionApp.h"

// The extension's application object: adds the help file beside the module
// and the settings file in the mailbox directory.
class CFoldscanApp : public CExtensionApp {
public:
    ~CFoldscanApp() override = default;

    BOOL InitInstance() override;
    int SetStrings() override;
    // The help file is the module's path with ".chm".
    void SetModulePath(const std::string& path) override;

    // "KVT-FSCN.PM" in the given directory. A bare separator (the host named
    // no mailbox) stands for the stand-by path, whatever folder was set before.
    void SetSettingsFolder(const std::string& directory) override;

    void DisplayHelp(const char* topic) override;

    const std::string& HelpPath() const { return helpPath; }

    // The help topic of a numbered message; empty when it has none.
    static std::string HelpTopicFor(int messageId);

    // The help handler registered for the message boxes.
    static int OnMessageHelp(int event, int messageNumber, void* context, CHelpMessageBox* box);

private:
    std::string helpPath;  // empty: none
};
