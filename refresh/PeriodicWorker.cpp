#include "refresh/PeriodicWorker.h"

#include "ui/Trace.h"

PeriodicWorker::~PeriodicWorker() { Shutdown(); }

void PeriodicWorker::SetInterval(std::uint32_t ms, bool restart) {
    interval.store(ms);
    if (granularity.load() > ms) granularity.store(ms);
    if (restart) elapsed.store(ms);
}

void PeriodicWorker::Resume(std::uint32_t restMs) {
    elapsed.store(0);
    rested.store(0);
    rest.store(restMs);
    held.store(0);  // last: the thread sees the new counts once it sees this
}

PeriodicWorker::StartResult PeriodicWorker::Start(bool restart) {
    if (restart) elapsed.store(interval.load());
    std::uint32_t expected = Idle;
    if (!state.compare_exchange_strong(expected, Starting)) return Started;
    held.store(0);  // a hold of the last run ended with its thread
    if (!thread.Launch(ThreadMain, this)) {
        state.store(Idle);
        return NoThread;
    }
    std::uint32_t seen = AwaitState([](std::uint32_t s) { return s == Starting; });
    if (seen == Running) return Started;
    return seen == Starting ? StillStarting : EndedAtStart;
}

PeriodicWorker::StopResult PeriodicWorker::Stop() {
    std::uint32_t current = state.load();
    for (;;) {
        if (current == Idle) return Stopped;
        if (current == Stopping) break;  // asked for before: wait for the end all the same
        // A compare-exchange, so that a thread that has just given up at its
        // start (back to Idle) is not marked as stopping for ever.
        if (state.compare_exchange_weak(current, Stopping)) {
            OnStopRequested();
            break;
        }
    }
    return AwaitState([](std::uint32_t s) { return s != Idle; }) == Idle ? Stopped : StillStopping;
}

void PeriodicWorker::Shutdown() {
    PeriodicWorker::Stop();
    // Stop gave up: the thread still reads this object, so wait for its end.
    // The step does not block for long, so this ends within a slice.
    if (state.load() != Idle) thread.Join();
}

std::uint32_t PeriodicWorker::ThreadMain(void* context) { return static_cast<PeriodicWorker*>(context)->Run(); }

std::uint32_t PeriodicWorker::Run() {
    std::uint32_t code = 0;
    try {
        if (OnThreadStart() == 0) {
            code = 255;
        } else {
            // Only from Starting: a stop asked for during the start stands.
            std::uint32_t expected = Starting;
            state.compare_exchange_strong(expected, Running);
            thread.Notify();
            Loop();
            OnThreadExit();
        }
    } catch (...) {
        Trace("[PeriodicWorker::Run] exception in the worker thread\n");
        code = 255;
    }
    // The last touch of this object: the controller may destroy it once Idle.
    state.store(Idle);
    return code;
}

void PeriodicWorker::Loop() {
    for (;;) {
        if (held.load() == 0 && elapsed.load() >= interval.load() && rested.load() >= rest.load()) {
            elapsed.store(0);
            if (Step() == 0) state.store(Stopping);
        }
        if (state.load() == Stopping) return;
        std::uint32_t slice = granularity.load();
        if (slice != 0) {
            WorkerThread::Sleep(slice);
            elapsed.fetch_add(slice);
            if (rested.load() < rest.load()) rested.fetch_add(slice);
        }
        if (state.load() == Stopping) return;
    }
}

std::uint32_t PeriodicWorker::AwaitState(bool (*keepWaiting)(std::uint32_t state)) {
    for (std::uint32_t tries = 0; tries < waitTries; ++tries) {
        std::uint32_t seen = thread.Changes();
        if (!keepWaiting(state.load())) break;
        thread.WaitForChange(seen, WaitMs);
    }
    return state.load();
}
