#include "refresh/MessagePoster.h"

MessagePoster::~MessagePoster() { Shutdown(); }

PeriodicWorker::StartResult MessagePoster::Start(HWND window, UINT posted, bool restart, LPARAM value) {
    target.store(window);
    message.store(posted);
    parameter.store(value);
    return PeriodicWorker::Start(restart);
}

int MessagePoster::Step() {
    HWND window = target.load();
    if (!::IsWindow(window)) return 1;
    if (holdAfterPost) Hold();
    if (!::PostMessageA(window, message.load(), 0, parameter.load()) && holdAfterPost) Resume(0);
    return 1;
}
