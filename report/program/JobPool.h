#pragma once

#include <cstddef>
#include <functional>

class ThreadBudget;

// Runs job(0) ... job(count - 1) on up to threads threads at once; each
// index is taken once, in increasing order. Returns when all have ended.
// A job must not throw.
class JobPool {
public:
    static void Run(size_t count, unsigned threads, const std::function<void(size_t)>& job);
    // The same on the threads budget has free, the calling thread counted,
    // each given back as soon as no job is left for it. Once the budget is
    // stopped, no job starts.
    static void Run(size_t count, ThreadBudget& budget, const std::function<void(size_t)>& job);
};
