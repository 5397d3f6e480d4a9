#pragma once

#include "refresh/WorkerThread.h"

#include <atomic>
#include <cstdint>

// A thread that performs a step whenever an interval has passed. Its loop
// sleeps in short slices and counts the time slept, so a stop request is seen
// within one slice; the elapsed time is the sum of the slices, not clock time.
//
// The state, elapsed time, interval and slice are shared with the thread, each
// a single atomic 32-bit value; no ordering between them is relied on. Start,
// Stop and SetInterval are called from one controlling thread.
//
// A worker is never destroyed while its thread may still read it: a class that
// overrides Step calls Shutdown in its own destructor, before its part of the
// object is gone. Start, Stop and the destruction of a worker that is not Idle
// wait for the thread, so none of them may run inside DllMain (a thread can
// neither start nor end while the loader lock is held): stop every worker
// before the library is unloaded. Destroying an Idle worker never waits.
class PeriodicWorker {
public:
    enum State : std::uint32_t { Idle = 0, Starting = 1, Running = 2, Stopping = 3 };

    PeriodicWorker() = default;
    virtual ~PeriodicWorker();
    PeriodicWorker(const PeriodicWorker&) = delete;
    PeriodicWorker& operator=(const PeriodicWorker&) = delete;

    // Sets the time between steps; the slice shrinks to an interval shorter
    // than itself and never grows back. With restart the interval counts as
    // elapsed, so the next pass of the loop steps. May be called while the
    // thread runs.
    void SetInterval(std::uint32_t ms, bool restart);

    // Start and Stop wait in up to ten tries of at most 100 ms each; a try
    // ends as soon as the thread changes its state.

    enum StartResult : int {
        Started = 0,        // it runs, or already ran, or is still stopping
        NoThread = 1,       // no thread could be made
        EndedAtStart = 2,   // the thread left Starting for anything but Running
        StillStarting = 3,  // it was still starting after the last wait
    };
    enum StopResult : int {
        Stopped = 0,        // Idle, or it never ran
        StillStopping = 3,  // not Idle after the last wait
    };

    // Starts the thread (restart: the first step comes at once).
    StartResult Start(bool restart);

    // Asks the thread to end and waits for it to reach Idle; a stop asked for
    // before is waited for again.
    virtual StopResult Stop();

    // Pacing, for steps that hand work to another thread. While held, no step
    // is due; a step that only asks for work holds the steps itself until the
    // work is done. Resume lets the steps go on: the next is due an interval
    // from now, and not before restMs have passed either, so that whoever does
    // the work gets at least as much time to itself as the work took.
    void Hold() { held.store(1); }
    void Resume(std::uint32_t restMs);
    bool Held() const { return held.load() != 0; }

    // For a process that is ending: the system has already ended every other
    // thread, so the worker forgets its thread instead of waiting for one
    // that will never answer.
    void AbandonThread() { state.store(Idle); }

    State GetState() const { return static_cast<State>(state.load()); }
    std::uint32_t Interval() const { return interval.load(); }
    std::uint32_t Granularity() const { return granularity.load(); }

protected:
    // One step on the worker thread; 0 ends the loop.
    virtual int Step() = 0;
    // First thing on the worker thread; 0 ends the thread before its loop.
    virtual int OnThreadStart() { return 1; }
    // Last thing on the worker thread after a loop.
    virtual void OnThreadExit() {}
    // On the controlling thread, once the stop has been asked for.
    virtual void OnStopRequested() {}

    // Stops the thread; if it does not end within the waits of Stop, waits
    // for the thread itself to end.
    void Shutdown();

private:
    static constexpr std::uint32_t WaitMs = 100;

    static std::uint32_t ThreadMain(void* context);
    std::uint32_t Run();
    void Loop();
    // Up to waitTries waits of at most WaitMs while keepWaiting(state) holds;
    // a wait ends early when the thread changes the state. Returns the state.
    std::uint32_t AwaitState(bool (*keepWaiting)(std::uint32_t state));

    std::atomic<std::uint32_t> state{Idle};
    std::atomic<std::uint32_t> elapsed{0};
    std::atomic<std::uint32_t> granularity{100};
    std::atomic<std::uint32_t> interval{1000};
    // Pacing: steps wait while held, and until rested reaches rest.
    std::atomic<std::uint32_t> held{0};
    std::atomic<std::uint32_t> rested{0};
    std::atomic<std::uint32_t> rest{0};
    const std::uint32_t waitTries = 10;
    WorkerThread thread;
};
