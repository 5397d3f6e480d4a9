#pragma once

#include <atomic>
#include <memory>

// The threads one run may keep busy at once, scanning mailboxes and reading
// their folder files together: a thread takes its share before it starts
// and gives it back when it ends, so that the threads a finished mailbox
// leaves go to those still being read. And the run's stop, which every
// thread of the run looks at between two requests to the disk.
class ThreadBudget {
public:
    explicit ThreadBudget(unsigned threads);
    ThreadBudget(const ThreadBudget&) = delete;
    ThreadBudget& operator=(const ThreadBudget&) = delete;

    unsigned Size() const { return size; }
    // As many as are free, up to wanted; never waits.
    unsigned Take(unsigned wanted);
    void Give(unsigned count);

    // From any thread: no thread starts another request or mailbox, and none
    // waits for a thread that is still in one (a share that stopped
    // answering).
    void Stop() { *stopped = true; }
    bool Stopped() const { return *stopped; }
    // The stop as a thread that may outlive the budget sees it.
    std::shared_ptr<const std::atomic<bool>> StopFlag() const { return stopped; }

private:
    const unsigned size;
    std::atomic<unsigned> free;
    const std::shared_ptr<std::atomic<bool>> stopped;
};
