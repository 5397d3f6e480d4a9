#include "platform/CModuleApp.h"

namespace {

CModuleApp* current = nullptr;

}  // namespace

CModuleApp::CModuleApp() {
    current = this;
    instance = ::GetModuleHandleA(nullptr);
}

CModuleApp::~CModuleApp() {
    if (current == this) current = nullptr;
}

CModuleApp* CModuleApp::Current() { return current; }

BOOL CModuleApp::Initialise(HINSTANCE module) {
    instance = module;
    return InitInstance();
}

std::string CModuleApp::LoadString(UINT id) const {
    // String resources are at most 4097 characters with their terminator.
    char buffer[4097];
    int length = ::LoadStringA(instance, id, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}
