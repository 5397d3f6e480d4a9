#pragma once

#include <cstddef>
#include <functional>

// Runs job(0) ... job(count - 1) on up to threads threads at once; each
// index is taken once, in increasing order. Returns when all have ended.
// A job must not throw.
class JobPool {
public:
    static void Run(size_t count, unsigned threads, const std::function<void(size_t)>& job);
};
