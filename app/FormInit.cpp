// The module's entry points: the loader's DllMain and the host's FORMINIT.
#include "app/CFoldscanApp.h"
#include "panel/CMainDlg.h"
#include "ui/Trace.h"

#include <commctrl.h>

namespace {

// Constructed in this order when the library loads, destroyed in reverse.
CMainDlg mainDlg;
CFoldscanApp application;

// Once a window of ours exists the library stays loaded until the process
// ends: a host may free it while the panel is open, even from another thread,
// and the window's procedure must never be left in unmapped code.
void KeepLoaded() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCSTR>(&KeepLoaded), &self))
        Trace("[foldscan::FORMINIT] cannot keep the library loaded: %lu\n", ::GetLastError());
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    try {
        if (reason == DLL_PROCESS_ATTACH) {
            ::DisableThreadLibraryCalls(module);
            return application.Initialise(module);
        }
        if (reason == DLL_PROCESS_DETACH) mainDlg.EndWithLibrary(reserved != nullptr);
    } catch (...) {
        Trace("[foldscan::DllMain] exception\n");
        return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
    }
    return TRUE;
}

// Arguments 1, 4 and 6 carry values of the host's that the panel does not use.
extern "C" WORD WINAPI FORMINIT(DWORD, LONG selector, HWND parent, DWORD, HWND* slot, DWORD) {
    try {
        if (selector != 0) return 0;
        // There is one panel object; while its window exists it cannot take a second one.
        if (mainDlg.IsWindow()) {
            Trace("[foldscan::FORMINIT] the panel exists already\n");
            return 0;
        }
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        KeepLoaded();
        if (!mainDlg.Create(application, parent)) return 0;
        if (slot) *slot = mainDlg.Handle();
        return 1;
    } catch (...) {
        Trace("[foldscan::FORMINIT] exception\n");
        return 0;
    }
}
