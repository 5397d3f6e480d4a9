#pragma once

class CHelpMessageBox;

// Called by a message box when the user asks for help (HelpRequested) and
// when the box closes (BoxClosing), with the number of the message it shows
// and the context registered with the handler. The result is not used.
using HelpHandler = int (*)(int event, int messageNumber, void* context, CHelpMessageBox* box);

namespace HelpEvent {
constexpr int BoxClosing = 0;
constexpr int HelpRequested = 5;
}  // namespace HelpEvent
