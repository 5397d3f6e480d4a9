#pragma once

#include <windows.h>

#include <string>

class CWindow;

// The application object of a library: one static instance per module,
// initialised when the library is loaded. Resources come from the module's
// own instance handle, never from the host's.
class CModuleApp {
public:
    CModuleApp();
    virtual ~CModuleApp();
    CModuleApp(const CModuleApp&) = delete;
    CModuleApp& operator=(const CModuleApp&) = delete;

    // The module's application object; none before it is constructed.
    static CModuleApp* Current();

    // Called when the module is loaded, with its instance handle; a zero
    // result fails the load. Must not load libraries (loader lock).
    BOOL Initialise(HINSTANCE module);
    virtual BOOL InitInstance() { return TRUE; }

    HINSTANCE Module() const { return instance; }

    // A string resource of the module; empty when there is none.
    std::string LoadString(UINT id) const;

    CWindow* mainWindow = nullptr;  // not owned
    std::string helpPath;           // empty: none
    std::string settingsPath;       // empty: none

private:
    HINSTANCE instance = nullptr;
};
