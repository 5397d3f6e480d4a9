#include "ui/ShowMessage.h"

#include "platform/CWindow.h"
#include "ui/CHelpMessageBox.h"
#include "ui/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <exception>

namespace {

// Every message of ours fits; a longer text is cut.
const size_t TextCapacity = 1000;

void ShowNumbered(MessageHost& app, UINT id, const char* caption, MessageBoxKind kind, va_list values) {
    app.messageNumber = static_cast<int32_t>(id);
    try {
        std::string format = app.MessageText(id);
        char text[TextCapacity] = {};
        std::vsnprintf(text, sizeof text, format.c_str(), values);
        CHelpMessageBox box(app.topWindow ? app.topWindow->Handle() : nullptr, text, caption, kind);
        if (app.helpHandler) box.SetHelp(app.helpHandler, app.messageNumber, app.helpContext);
        app.RunModal(box);
    } catch (const std::exception& e) {
        Trace("[foldscan::ShowMessage] message %u not shown: %s\n", id, e.what());
    } catch (...) {
        Trace("[foldscan::ShowMessage] message %u not shown\n", id);
    }
}

}  // namespace

void ShowError(MessageHost& app, UINT id, ...) {
    va_list values;
    va_start(values, id);
    ShowNumbered(app, id, "FEHLER", MessageBoxKind::Error, values);
    va_end(values);
}

void ShowWarning(MessageHost& app, UINT id, ...) {
    va_list values;
    va_start(values, id);
    ShowNumbered(app, id, "WARNUNG", MessageBoxKind::Warning, values);
    va_end(values);
}
