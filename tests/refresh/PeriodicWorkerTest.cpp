#include "refresh/PeriodicWorker.h"

#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using State = PeriodicWorker::State;

// Polls until done() holds; false after a deadline far beyond any expected
// delay, so that a slow machine never fails a test that is right.
bool WaitUntil(const std::function<bool()>& done) {
    auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Counts what happens on both threads and records the state each hook saw.
class CountingWorker : public PeriodicWorker {
public:
    ~CountingWorker() override {
        quit = true;  // ends even a thread that missed its stop
        Shutdown();
    }

    std::atomic<int> starts{0}, steps{0}, exits{0}, stopRequests{0};
    std::atomic<int> startResult{1};
    std::atomic<bool> quit{false};
    std::atomic<bool> holdStart{false};  // OnThreadStart waits until a stop is asked for
    std::atomic<bool> throwInStep{false};
    std::atomic<bool> holdInStep{false};  // each step hands work elsewhere and waits for Resume
    std::atomic<State> atStart{State(99)}, atStep{State(99)}, atStopRequest{State(99)}, atExit{State(99)};

protected:
    int OnThreadStart() override {
        ++starts;
        atStart = GetState();
        if (holdStart) WaitUntil([this] { return stopRequests > 0; });
        return startResult;
    }
    int Step() override {
        ++steps;
        atStep = GetState();
        if (throwInStep) throw 1;
        if (holdInStep) Hold();
        return quit ? 0 : 1;
    }
    void OnThreadExit() override {
        ++exits;
        atExit = GetState();
    }
    void OnStopRequested() override {
        ++stopRequests;
        atStopRequest = GetState();
    }
};

}  // namespace

TEST(PeriodicWorker, StatesFollowTheThreadFromStartToStop) {
    CountingWorker worker;
    EXPECT_EQ(worker.GetState(), PeriodicWorker::Idle);
    worker.SetInterval(5, false);
    ASSERT_EQ(worker.Start(true), 0);
    EXPECT_EQ(worker.GetState(), PeriodicWorker::Running);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 3; }));
    EXPECT_EQ(worker.Stop(), 0);

    EXPECT_EQ(worker.GetState(), PeriodicWorker::Idle);
    EXPECT_EQ(worker.atStart, PeriodicWorker::Starting);
    EXPECT_EQ(worker.atStep, PeriodicWorker::Running);
    EXPECT_EQ(worker.atStopRequest, PeriodicWorker::Stopping);
    EXPECT_EQ(worker.atExit, PeriodicWorker::Stopping);
    EXPECT_EQ(worker.starts, 1);
    EXPECT_EQ(worker.stopRequests, 1);
    EXPECT_EQ(worker.exits, 1);

    // An idle worker can be started again.
    ASSERT_EQ(worker.Start(true), 0);
    EXPECT_EQ(worker.Stop(), 0);
    EXPECT_EQ(worker.starts, 2);
}

TEST(PeriodicWorker, StartOnARunningWorkerAndStopOnAnIdleOneChangeNothing) {
    CountingWorker worker;
    // A hundred stops of an idle worker: each returns at once, where a single
    // wait would take 100 ms.
    auto before = Clock::now();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(worker.Stop(), 0);
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(5));
    EXPECT_EQ(worker.stopRequests, 0);

    ASSERT_EQ(worker.Start(false), 0);
    EXPECT_EQ(worker.Start(false), 0);
    EXPECT_EQ(worker.Start(true), 0);
    EXPECT_EQ(worker.starts, 1);
    EXPECT_EQ(worker.Stop(), 0);
    EXPECT_EQ(worker.Stop(), 0);
    EXPECT_EQ(worker.stopRequests, 1);
    EXPECT_EQ(worker.exits, 1);
}

TEST(PeriodicWorker, AThreadThatGivesUpAtItsStartMakesStartReturnTwo) {
    CountingWorker worker;
    worker.startResult = 0;
    EXPECT_EQ(worker.Start(true), 2);
    EXPECT_EQ(worker.GetState(), PeriodicWorker::Idle);
    EXPECT_EQ(worker.steps, 0);
    EXPECT_EQ(worker.exits, 0);

    worker.startResult = 1;
    EXPECT_EQ(worker.Start(true), 0);
    EXPECT_EQ(worker.Stop(), 0);
    EXPECT_EQ(worker.starts, 2);
}

// The thread is still in OnThreadStart when Start gives up, and the stop comes
// before it would switch to Running: the stop must not be lost.
TEST(PeriodicWorker, AStopDuringALateStartEndsTheThread) {
    CountingWorker worker;
    worker.holdStart = true;
    EXPECT_EQ(worker.Start(false), 3);
    EXPECT_EQ(worker.GetState(), PeriodicWorker::Starting);
    EXPECT_EQ(worker.Stop(), 0);
    EXPECT_EQ(worker.GetState(), PeriodicWorker::Idle);
    EXPECT_EQ(worker.steps, 0);
}

TEST(PeriodicWorker, AnIntervalChangeAppliesWithoutARestartOfTheThread) {
    CountingWorker worker;
    worker.SetInterval(60000, false);
    ASSERT_EQ(worker.Start(true), 0);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 1; }));

    // With restart the next pass steps, long before the minute is up.
    worker.SetInterval(60000, true);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 2; }));

    // A shorter interval takes over on the running thread.
    worker.SetInterval(5, false);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 6; }));
    EXPECT_EQ(worker.starts, 1);
    EXPECT_EQ(worker.Stop(), 0);
}

// The next step comes only after Resume, an interval after it and after the
// rest it asks for; a hold from the controlling thread also holds the steps.
TEST(PeriodicWorker, AHeldWorkerWaitsForResumeAndItsRest) {
    CountingWorker worker;
    worker.holdInStep = true;
    worker.SetInterval(10, false);
    ASSERT_EQ(worker.Start(true), 0);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(worker.steps, 1);
    EXPECT_TRUE(worker.Held());

    auto resumed = Clock::now();
    worker.Resume(300);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 2; }));
    // Less one slice: one under way when Resume came counts.
    EXPECT_GE(Clock::now() - resumed, std::chrono::milliseconds(300 - 10));

    // The interval counts from the Resume, however long the hold lasted.
    worker.SetInterval(300, false);
    ASSERT_TRUE(WaitUntil([&] { return worker.Held(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    resumed = Clock::now();
    worker.Resume(0);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 3; }));
    EXPECT_GE(Clock::now() - resumed, std::chrono::milliseconds(300 - 10));

    worker.holdInStep = false;
    worker.SetInterval(10, false);
    worker.Hold();
    worker.Resume(0);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 5; }));
    worker.Hold();
    int held = worker.steps;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(worker.steps, held + 1);  // a step under way when the hold came
    EXPECT_EQ(worker.Stop(), 0);
}

TEST(PeriodicWorker, TheSliceShrinksToAShortIntervalAndDoesNotGrowBack) {
    CountingWorker worker;
    EXPECT_EQ(worker.Interval(), 1000u);
    EXPECT_EQ(worker.Granularity(), 100u);
    worker.SetInterval(250, false);
    EXPECT_EQ(worker.Granularity(), 100u);
    worker.SetInterval(30, false);
    EXPECT_EQ(worker.Granularity(), 30u);
    worker.SetInterval(1000, false);
    EXPECT_EQ(worker.Interval(), 1000u);
    EXPECT_EQ(worker.Granularity(), 30u);

    // No slice at all: the loop steps without sleeping and still sees a stop.
    worker.SetInterval(0, false);
    EXPECT_EQ(worker.Granularity(), 0u);
    ASSERT_EQ(worker.Start(false), 0);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 100; }));
    EXPECT_EQ(worker.Stop(), 0);
}

TEST(PeriodicWorker, AThousandStartStopCycles) {
    CountingWorker worker;
    worker.SetInterval(1, false);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(worker.Start(true), 0) << "cycle " << i;
        ASSERT_EQ(worker.Stop(), 0) << "cycle " << i;
    }
    EXPECT_EQ(worker.GetState(), PeriodicWorker::Idle);
    EXPECT_EQ(worker.starts, 1000);
    EXPECT_EQ(worker.exits, 1000);
    // With restart each thread steps at its first pass, stop or no stop.
    EXPECT_GE(worker.steps, 1000);
}

TEST(PeriodicWorker, AnExceptionEndsTheThreadInsteadOfTheProcess) {
    TraceCapture trace;
    CountingWorker worker;
    worker.SetInterval(5, false);
    ASSERT_EQ(worker.Start(true), 0);
    worker.throwInStep = true;
    ASSERT_TRUE(WaitUntil([&] { return worker.GetState() == PeriodicWorker::Idle; }));
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0], "[PeriodicWorker::Run] exception in the worker thread\n");
}

namespace {

std::atomic<bool> slowStepEnded{false};

// A step that outlasts both waits of Stop, the caller's and the destructor's.
class SlowWorker : public PeriodicWorker {
public:
    ~SlowWorker() override { Shutdown(); }
    std::atomic<bool> inStep{false};

protected:
    int Step() override {
        inStep = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        slowStepEnded = true;
        return 1;
    }
};

}  // namespace

TEST(PeriodicWorker, DestructionWaitsForAThreadThatStopCouldNotEnd) {
    auto worker = std::make_unique<SlowWorker>();
    ASSERT_EQ(worker->Start(true), 0);
    ASSERT_TRUE(WaitUntil([&] { return worker->inStep.load(); }));
    EXPECT_EQ(worker->Stop(), 3);
    EXPECT_EQ(worker->GetState(), PeriodicWorker::Stopping);
    worker.reset();
    EXPECT_TRUE(slowStepEnded);
}
