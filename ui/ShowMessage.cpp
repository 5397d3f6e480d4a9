#include "ui/ShowMessage.h"

#include "ui/CHelpMessageBox.h"
#include "ui/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <exception>

namespace {

// Every message of ours fits; a longer text is cut.
const size_t TextCapacity = 1000;

void ShowNumbered(AppServices& app, UINT id, const char* caption, MessageBoxKind kind, va_list values) {
    try {
        std::string format = app.LoadString(id);
        char text[TextCapacity] = {};
        std::vsnprintf(text, sizeof text, format.c_str(), values);
        CHelpMessageBox box(app.Owner(), text, caption, kind);
        app.ConnectHelp(box, static_cast<int>(id));
        app.RunModal(box);
    } catch (const std::exception& e) {
        Trace("[foldscan::ShowMessage] message %u not shown: %s\n", id, e.what());
    } catch (...) {
        Trace("[foldscan::ShowMessage] message %u not shown\n", id);
    }
}

}  // namespace

void ShowError(AppServices& app, UINT id, ...) {
    va_list values;
    va_start(values, id);
    ShowNumbered(app, id, "FEHLER", MessageBoxKind::Error, values);
    va_end(values);
}

void ShowWarning(AppServices& app, UINT id, ...) {
    va_list values;
    va_start(values, id);
    ShowNumbered(app, id, "WARNUNG", MessageBoxKind::Warning, values);
    va_end(values);
}
