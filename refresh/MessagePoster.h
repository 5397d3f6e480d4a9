#pragma once

#include "refresh/PeriodicWorker.h"

#include <windows.h>

#include <atomic>

// A worker that posts one fixed message to a window at each step, while that
// window exists. It never waits for the message to be handled: all the work
// happens on the window's own thread when the message arrives.
class MessagePoster : public PeriodicWorker {
public:
    // A poster whose message asks for long work holds its steps after each
    // post until the window calls Resume: the queue never holds two, and the
    // next interval counts from the end of the work.
    explicit MessagePoster(bool holdAfterPost = false) : holdAfterPost(holdAfterPost) {}
    ~MessagePoster() override;

    // Posts (message, 0, parameter) to target at each step; the results are
    // those of PeriodicWorker::Start.
    StartResult Start(HWND target, UINT message, bool restart, LPARAM parameter);

protected:
    // Always 1: the thread runs until it is stopped, also once the window is gone.
    int Step() override;

private:
    // Atomic as well: Start may set them again while the thread runs.
    std::atomic<HWND> target{nullptr};
    std::atomic<UINT> message{0};
    std::atomic<LPARAM> parameter{0};
    const bool holdAfterPost;
};
