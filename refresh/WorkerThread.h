#pragma once

#include <cstdint>
#include <memory>

#ifndef _WIN32
#include <thread>
#endif

// The operating system's side of a periodic worker: one thread at a time, the
// sleeps of its loop, and a wake-up for the controller that waits for the
// thread to change state. Natively a standard-library thread; on Windows a
// Windows thread that holds its own reference on the module containing our
// code from before it starts until its last act, which drops the reference and
// ends the thread in one call: the host may unload the library while a worker
// ends, and the thread must never run in unmapped code.
//
// One controlling thread launches, waits and joins; the worker thread only
// notifies. Never launch, wait or join inside DllMain: a thread can neither
// start nor end while the loader lock is held, so the wait would never end.
class WorkerThread {
public:
    // Runs on the new thread; returns the exit code. Must not throw.
    using Body = std::uint32_t (*)(void* context);

    WorkerThread() = default;
    // Natively joins the last thread; on Windows only lets go of its handle.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts a thread running body(context), at normal priority with the
    // default stack. The thread launched before must have left its body.
    // False when no thread could be made.
    bool Launch(Body body, void* context);

    // Waits until the thread launched last has ended; at once when none was.
    void Join();

    // Controller side: a token for the changes seen so far (take it before
    // looking at the state), then a wait of up to ms milliseconds that ends
    // early at any change after that token.
    std::uint32_t Changes();
    void WaitForChange(std::uint32_t seen, std::uint32_t ms);

    // Worker side: wakes the controller after a change of state. The thread
    // is notified for once more when its body has returned, through its own
    // share of the signal, as its worker may be gone by then.
    void Notify();

    static void Sleep(std::uint32_t ms);

    struct Signal;

private:
    std::shared_ptr<Signal> signal;  // of the thread launched last
#ifdef _WIN32
    void* handle = nullptr;
#else
    std::thread thread;
#endif
};
