#include "refresh/WorkerThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct WorkerThread::Signal {
    std::mutex mutex;
    std::condition_variable changed;
    std::uint32_t changes = 0;

    void Notify() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            ++changes;
        }
        changed.notify_all();
    }
};

WorkerThread::~WorkerThread() { Join(); }

bool WorkerThread::Launch(Body body, void* context) {
    Join();
    try {
        // The signal is in place before the thread can notify through it.
        signal = std::make_shared<Signal>();
        thread = std::thread([body, context, own = signal] {
            body(context);
            own->Notify();
        });
    } catch (...) {
        return false;
    }
    return true;
}

void WorkerThread::Join() {
    if (thread.joinable()) thread.join();
}

std::uint32_t WorkerThread::Changes() {
    if (!signal) return 0;
    std::lock_guard<std::mutex> lock(signal->mutex);
    return signal->changes;
}

void WorkerThread::WaitForChange(std::uint32_t seen, std::uint32_t ms) {
    if (!signal) {
        Sleep(ms);
        return;
    }
    std::unique_lock<std::mutex> lock(signal->mutex);
    signal->changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return signal->changes != seen; });
}

void WorkerThread::Notify() {
    if (signal) signal->Notify();
}

void WorkerThread::Sleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
