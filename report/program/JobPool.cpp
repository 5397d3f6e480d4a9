#include "report/program/JobPool.h"

#include "report/scan/ThreadBudget.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void JobPool::Run(size_t count, unsigned threads, const std::function<void(size_t)>& job) {
    ThreadBudget budget(threads);
    Run(count, budget, job);
}

void JobPool::Run(size_t count, ThreadBudget& budget, const std::function<void(size_t)>& job) {
    if (count == 0) return;
    std::atomic<size_t> next{0};
    // The calling thread is one of them, with or without a thread taken.
    const unsigned taken = budget.Take(static_cast<unsigned>(std::min<size_t>(count, budget.Size())));
    auto work = [&](bool give) {
        for (size_t i = next++; i < count && !budget.Stopped(); i = next++) job(i);
        if (give) budget.Give(1);
    };
    std::vector<std::thread> helpers;
    helpers.reserve(taken > 0 ? taken - 1 : 0);
    for (unsigned k = 1; k < taken; ++k) helpers.emplace_back(work, true);
    work(taken > 0);
    for (std::thread& helper : helpers) helper.join();
}
