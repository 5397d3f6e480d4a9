// The module's entry points: the loader's DllMain and the host's FORMINIT.
#include "app/CFoldscanApp.h"
#include "panel/CMainDlg.h"
#include "ui/Trace.h"

#include <commctrl.h>

namespace {

// Constructed in this order when the library loads, destroyed in reverse.
CMainDlg mainDlg;
CFoldscanApp application;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(module);
        return application.Initialise(module);
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
        if (!mainDlg.Create(application, parent)) return 0;
        if (slot) *slot = mainDlg.Handle();
        return 1;
    } catch (...) {
        Trace("[foldscan::FORMINIT] exception\n");
        return 0;
    }
}
