#include "ui/CHelpMessageBox.h"

#include "resources/resource.h"
#include "ui/SystemSound.h"

namespace {

// Popup, visible, caption, system menu, modal frame; no font entry, so the
// box takes the system's dialog font.
const DWORD BoxStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
const short BoxWidth = 260;
const short BoxHeight = 70;
// The header, an empty menu, class and title, zero-filled and DWORD-aligned.
const size_t TemplateWords = 32 / sizeof(DWORD);

const int NoId = 0xFFFF;
const DWORD IconStyle = WS_CHILD | WS_VISIBLE | SS_ICON;
const DWORD LabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
const DWORD CloseStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
const DWORD HelpStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// The Windows-1252 bytes of "&Schließen".
const char CloseText[] = "&Schlie\xDF" "en";
const char HelpText[] = "&Hilfe";

// What the system makes of F1 when nobody took the key-down (WM_KEYF1).
const UINT SystemF1Message = 0x004D;

struct KindLook {
    LPCSTR icon;  // a system icon; null: none
    UINT beepType;  // 0: silent
};

KindLook LookOf(MessageBoxKind kind) {
    switch (kind) {
    case MessageBoxKind::Error:
        return {IDI_HAND, MB_ICONHAND};
    case MessageBoxKind::Warning:
        return {IDI_EXCLAMATION, MB_ICONEXCLAMATION};
    case MessageBoxKind::Information:
        return {IDI_ASTERISK, MB_ICONASTERISK};
    default:
        return {nullptr, 0};
    }
}

}  // namespace

CHelpMessageBox::CHelpMessageBox(HWND parent, const std::string& text, const char* caption, MessageBoxKind kind)
    : CDialog(0, parent), text(text), caption(caption ? caption : "") {
    KindLook look = LookOf(kind);
    if (look.icon) icon = ::LoadIconA(nullptr, look.icon);
    beepType = look.beepType;

    dialogTemplate.reset(new DWORD[TemplateWords]());
    DLGTEMPLATE* header = reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.get());
    header->style = BoxStyle;
    header->cx = BoxWidth;
    header->cy = BoxHeight;
    UseTemplate(header);
}

CHelpMessageBox::~CHelpMessageBox() {
    // The window goes first, while the template and the controls still exist.
    if (IsWindow()) ::DestroyWindow(hwnd);
}

void CHelpMessageBox::SetHelp(HelpHandler handler, int32_t number, void* context) {
    helpHandler = handler;
    messageNumber = number;
    helpContext = context;
}

BOOL CHelpMessageBox::OnInitDialog() {
    CDialog::OnInitDialog();
    SetText(caption);
    CenterOnParent();
    CreateControls();
    if (icon) picture.SetIcon(icon);
    label.SetText(text);
    if (beepType) PlaySystemSound(beepType);
    closeButton.SetFocus();
    return FALSE;  // the focus is set
}

void CHelpMessageBox::CreateControls() {
    // The text starts after the icon, or at the margin when there is none.
    if (icon) {
        picture.Attach(CreateControl("STATIC", nullptr, IconStyle, {7, 7, 0, 0}, NoId));
        label.Attach(CreateControl("STATIC", nullptr, LabelStyle, {35, 7, 218, 42}, NoId));
    } else {
        label.Attach(CreateControl("STATIC", nullptr, LabelStyle, {7, 7, 246, 42}, NoId));
    }
    closeButton.Attach(CreateControl("BUTTON", CloseText, CloseStyle, {7, 49, 50, 14}, IDOK));
    if (helpHandler)
        helpButton.Attach(CreateControl("BUTTON", HelpText, HelpStyle, {203, 49, 50, 14}, IDC_HELP_BUTTON));
}

bool CHelpMessageBox::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
        CallHelp(HelpEvent::HelpRequested);
        return true;
    }
    if (message.message == SystemF1Message) return true;
    return CDialog::PreTranslateMessage(message);
}

bool CHelpMessageBox::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_HELP_BUTTON && code == BN_CLICKED) {
        CallHelp(HelpEvent::HelpRequested);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CHelpMessageBox::OnDestroy() {
    CallHelp(HelpEvent::BoxClosing);
    label.Attach(nullptr);
    picture.Attach(nullptr);
    closeButton.Attach(nullptr);
    helpButton.Attach(nullptr);
}

void CHelpMessageBox::CallHelp(int event) {
    if (helpHandler) helpHandler(event, messageNumber, helpContext, this);
}
