#pragma once

// The window messages between the host mail client and the panel, stated
// once for the panel, foldhost and the tests. The numbers are the host's and
// fixed: a mail client in the field sends and answers exactly these.
namespace HostMessages {

// From the host to the panel.
constexpr unsigned Start = 0x0B09;
constexpr unsigned Resize = 0x0B0A;
constexpr unsigned SizeLimits = 0x0B0B;
constexpr unsigned PositionQuery = 0x0B0C;
constexpr unsigned Activate = 0x0B0D;
constexpr unsigned Focus = 0x0B0E;
// WM_DPICHANGED, which Windows sends the host's window and the host passes
// on: the new resolution in the low word of wParam.
constexpr unsigned DpiChanged = 0x02E0;

// From the panel to the host, which writes the directory into the buffer.
constexpr unsigned AskMailboxPath = 3046;
constexpr unsigned AskNewmailPath = 3045;

// Posted to the panel by its own worker threads (WM_USER + 1 and + 2).
constexpr unsigned AutoRefresh = 1025;
constexpr unsigned Ticker = 1026;

}  // namespace HostMessages
