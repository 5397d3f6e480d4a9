// How long Stop holds the user-interface thread: the delay from Stop to the
// worker's Idle state, over many start/stop cycles of a worker set up as the
// panel's are (interval 1000 ms, slices of 100 ms). Each stop comes at a
// pseudo-random point of a slice. Built natively and for Windows (run it under
// Wine with tools/winerun); not a test.
//
// stop_delay_bench [cycles]    (default 1000)
#include "refresh/PeriodicWorker.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class IdleWorker : public PeriodicWorker {
public:
    ~IdleWorker() override { Shutdown(); }
    std::atomic<Clock::rep> exitAt{0};

protected:
    int Step() override { return 1; }
    void OnThreadExit() override { exitAt = Clock::now().time_since_epoch().count(); }
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Report(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    std::printf("%-32s median %7.2f ms   90%% %7.2f ms   max %7.2f ms\n", what, values[n / 2], values[n * 9 / 10],
                values.back());
}

}  // namespace

int main(int argc, char** argv) {
    int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (cycles < 1) return 2;
    IdleWorker worker;
    std::vector<double> toThreadExit, toStopReturn, startTimes;
    unsigned seed = 12345;
    int failures = 0;
    for (int i = 0; i < cycles; ++i) {
        auto startCall = Clock::now();
        if (worker.Start(true) != 0) ++failures;
        startTimes.push_back(Ms(Clock::now() - startCall));
        seed = seed * 1103515245u + 12345u;
        std::this_thread::sleep_for(std::chrono::milliseconds((seed >> 16) % 200));
        auto stopCall = Clock::now();
        if (worker.Stop() != 0) ++failures;
        auto stopReturn = Clock::now();
        toThreadExit.push_back(Ms(Clock::duration(worker.exitAt.load()) - stopCall.time_since_epoch()));
        toStopReturn.push_back(Ms(stopReturn - stopCall));
    }
    std::printf("%d start/stop cycles, interval %u ms, slice %u ms, %d failed results\n", cycles, worker.Interval(),
                worker.Granularity(), failures);
    Report("Start until Running", startTimes);
    Report("Stop until the thread's exit", toThreadExit);
    Report("Stop until Idle (Stop returns)", toStopReturn);
    return failures ? 1 : 0;
}
