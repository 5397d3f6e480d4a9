#include "report/program/JobPool.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void JobPool::Run(size_t count, unsigned threads, const std::function<void(size_t)>& job) {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < count; i = next++) job(i);
    };
    size_t extra = std::min<size_t>(threads > 0 ? threads - 1 : 0, count > 0 ? count - 1 : 0);
    std::vector<std::thread> helpers;
    helpers.reserve(extra);
    for (size_t k = 0; k < extra; ++k) helpers.emplace_back(work);
    work();  // the calling thread is one of them
    for (std::thread& helper : helpers) helper.join();
}
