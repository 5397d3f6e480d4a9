#include "platform/CModuleApp.h"

CModuleApp::CModuleApp() : instance(::GetModuleHandleA(nullptr)) {}

BOOL CModuleApp::Initialise(HINSTANCE module) {
    instance = module;
    return InitInstance();
}

std::string CModuleApp::ResourceString(UINT id) const {
    // String resources are at most 4097 characters with their terminator.
    char buffer[4097];
    int length = ::LoadStringA(instance, id, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}
