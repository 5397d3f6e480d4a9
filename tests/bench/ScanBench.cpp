// The time of a whole scan on generated mailboxes of 1,000 and 20,000 folders,
// against the least any scan must do on the same mailbox: list the directory
// and open, read the first 128 bytes of and close every file. Scans that keep
// their readings are measured as the panel runs them: reading everything
// (the user's refresh), with nothing changed, and with 1 % of the files
// rewritten; and what the kept readings take per folder.
#include "store/FolderCache.h"
#include "store/FolderList.h"

#include "tests/bench/GeneratedMailbox.h"
#include "tests/support/CountingHeap.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

namespace {

void BM_Scan(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    FolderList list;
    for (auto _ : state) {
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
    state.counters["rows"] = list.GetCount();
}

// The panel's user refresh: everything read, and kept for the next ones.
void BM_ScanReadingEverything(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    FolderCache cache;
    FolderList list;
    list.UseReader(&cache);
    for (auto _ : state) {
        cache.ReadEverythingNext();
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
}

// An auto-refresh tick over an unchanged mailbox.
void BM_ScanNothingChanged(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    FolderCache cache;
    FolderList list;
    list.UseReader(&cache);
    list.Scan({path, true, false, path, ""});
    for (auto _ : state) {
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
    state.counters["reused"] = static_cast<double>(cache.GetReused());
}

// A tick after 1 % of the folder files (".PMM" files and companions) were
// rewritten with a new time; the rewriting is not timed.
void BM_ScanOnePercentChanged(benchmark::State& state) {
    const int folders = static_cast<int>(state.range(0));
    const std::string path = GeneratedMailbox(folders).Path();
    FolderCache cache;
    FolderList list;
    list.UseReader(&cache);
    list.Scan({path, true, false, path, ""});
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        for (int i = round % 100; i < folders; i += 100) {
            std::string file = path + "F" + std::to_string(i) + (i % 2 == 0 ? ".PMM" : ".PMG");
            timespec times[2] = {{0, UTIME_OMIT}, {1000000 + round, 0}};
            utimensat(AT_FDCWD, file.c_str(), times, 0);
        }
        state.ResumeTiming();
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
    state.counters["reused"] = static_cast<double>(cache.GetReused());
}

// What the kept readings take per folder, with and without the folder tree.
void BM_KeptBytesPerFolder(benchmark::State& state) {
    const int folders = static_cast<int>(state.range(0));
    const std::string path = GeneratedMailbox(folders).Path();
    for (auto _ : state) {
        for (bool withTree : {false, true}) {
            size_t before = CountingHeap::liveBytes;
            FolderCache cache;
            {
                FolderList list;
                list.UseReader(&cache);
                list.Scan({path, withTree, false, path, ""});
            }
            state.counters[withTree ? "with_tree" : "readings"] =
                static_cast<double>(CountingHeap::liveBytes - before) / static_cast<double>(folders);
        }
    }
}

}  // namespace

BENCHMARK(BM_Scan)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanReadingEverything)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanNothingChanged)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanOnePercentChanged)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeastWork)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeptBytesPerFolder)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
