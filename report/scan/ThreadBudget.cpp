#include "report/scan/ThreadBudget.h"

#include <algorithm>

ThreadBudget::ThreadBudget(unsigned threads)
    : size(std::max(1u, threads)), free(size), stopped(std::make_shared<std::atomic<bool>>(false)) {}

unsigned ThreadBudget::Take(unsigned wanted) {
    unsigned now = free.load();
    unsigned taken;
    do {
        taken = std::min(now, wanted);
    } while (taken > 0 && !free.compare_exchange_weak(now, now - taken));
    return taken;
}

void ThreadBudget::Give(unsigned count) { free += count; }
