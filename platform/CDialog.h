#pragma once

#include "platform/CWindow.h"

#include <vector>

class CControl;

// A dialog from a template in the module's resources or in memory. The
// object is tied to its window through the creation parameter, kept in
// DWLP_USER from WM_INITDIALOG until WM_NCDESTROY. One window procedure looks
// the object up and calls OnMessage, whose switch is the dialog's message map.
class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId = 0, HWND parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window modelessly (a child when the template says so).
    bool Create(HWND parent);

    // Runs the dialog in a loop of our own: the owner's top-level window is
    // disabled while it runs, every message is offered to PreTranslateMessage
    // first. Returns the value given to EndDialog, or -1 when the window
    // could not be made.
    INT_PTR RunModalLoop();
    void EndDialog(INT_PTR result);

    // Sees every message of the modal loop before it is dispatched; true
    // when it took care of it. The default does dialog keyboard navigation.
    virtual bool PreTranslateMessage(MSG& message);

    // The module this code is linked into, which holds the templates and
    // tables: the DLL inside the host, a test program in the tests, never
    // the host's own executable.
    static HINSTANCE ResourceModule();

    // Where the firewall reports an exception it caught, one finished line;
    // none until the application gives its trace.
    using ExceptionReport = void (*)(const char* line);
    static void ReportExceptionsTo(ExceptionReport report);

protected:
    // The message map. Returns true when the message was handled; result is
    // then the answer (for WM_NOTIFY it goes to DWLP_MSGRESULT).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Calls BindControls; the result asks for the default focus.
    virtual BOOL OnInitDialog();
    virtual void BindControls() {}
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual bool OnNotify(NMHDR& header, LRESULT& result) { return false; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnDestroy() {}

    // Ties a control object to the dialog's control with that id.
    void Bind(int id, CControl& control);

    // The dialog is made from this template instead of a resource; the
    // template must outlive the window.
    void UseTemplate(const DLGTEMPLATE* memoryTemplate) { inMemory = memoryTemplate; }

    // Creates a visible child control at a rectangle in the dialog's own
    // units and gives it the dialog's font.
    HWND CreateControl(const char* className, const char* text, DWORD style, RECT units, int id) const;

    // Centres the dialog over its parent window, kept on the parent's monitor.
    void CenterOnParent() const;

    UINT templateId;
    HWND parentWindow;
    const DLGTEMPLATE* inMemory = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Unbind();
    static void ReportException(const char* format, UINT message, const char* what);

    std::vector<CControl*> boundControls;
    bool modalRunning = false;
    bool modalEnded = false;
    INT_PTR modalResult = 0;
};
