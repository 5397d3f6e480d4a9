#include "refresh/MessagePoster.h"

MessagePoster::~MessagePoster() { Shutdown(); }

int MessagePoster::Start(HWND window, UINT posted, bool restart, LPARAM value) {
    target.store(window);
    message.store(posted);
    parameter.store(value);
    return PeriodicWorker::Start(restart);
}

int MessagePoster::Step() {
    HWND window = target.load();
    if (::IsWindow(window)) ::PostMessageA(window, message.load(), 0, parameter.load());
    return 1;
}
