#pragma once

#include <windows.h>

#include <string>

// The application object of a library: one static instance per module,
// initialised when the library is loaded. Resources come from the module's
// own instance handle, never from the host's.
class CModuleApp {
public:
    CModuleApp();
    virtual ~CModuleApp() = default;
    CModuleApp(const CModuleApp&) = delete;
    CModuleApp& operator=(const CModuleApp&) = delete;

    // Called when the module is loaded, with its instance handle; a zero
    // result fails the load. Must not load libraries (loader lock).
    BOOL Initialise(HINSTANCE module);
    virtual BOOL InitInstance() { return TRUE; }

    HINSTANCE ModuleInstance() const { return instance; }

    // A string resource of the module; empty when there is none.
    std::string ResourceString(UINT id) const;

private:
    HINSTANCE instance = nullptr;
};
