// The time of a whole scan on generated mailboxes of 1,000 and 20,000 folders,
// against the least any scan must do on the same mailbox: list the directory
// and open, read the first 128 bytes of and close every file. Scans that keep
// their readings are measured as the panel runs them: reading everything
// (the user's refresh), with nothing changed, and with 1 % of the files
// rewritten; and what the kept readings take per folder.
#include "store/FolderCache.h"
#include "store/FolderList.h"

#include "tests/support/CountingHeap.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

namespace {

std::string Header(size_t length, const std::string& name, size_t keyOffset, const std::string& key) {
    std::string bytes(length, '\0');
    bytes.replace(0, name.size(), name);
    bytes.replace(keyOffset, key.size(), key);
    return bytes;
}

// Half the folders are ".PMM" files, half ".MBX" files with ".PMG" companions.
// The hierarchy holds one entry per folder in chains of five under one root,
// as a mailbox with a few levels of sub-folders has them.
std::unique_ptr<TempDir> Generate(int folders) {
    auto dir = std::make_unique<TempDir>();
    std::string hierarchy = "2,0,R,,Postfach\n";
    for (int i = 0; i < folders; ++i) {
        std::string key = "K" + std::to_string(i);
        std::string parent = i % 5 == 0 ? "R" : "K" + std::to_string(i - 1);
        std::string name = "Ordner " + std::to_string(i);
        std::string file = "F" + std::to_string(i);
        hierarchy += "1," + std::to_string(i) + "," + key + "," + parent + "," + name + "\n";
        if (i % 2 == 0) {
            dir->Write(file + ".PMM", Header(128, name, 86, key), 4096);
        } else {
            dir->Write(file + ".MBX", "", 4096);
            dir->Write(file + ".PMG", Header(90, name, 58, key), 512);
        }
    }
    dir->Write("hierarch.pm", hierarchy);
    return dir;
}

const TempDir& Mailbox(int folders) {
    static std::map<int, std::unique_ptr<TempDir>> made;
    auto& dir = made[folders];
    if (!dir) dir = Generate(folders);
    return *dir;
}

void BM_Scan(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<int>(state.range(0))).Path();
    FolderList list;
    for (auto _ : state) {
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
    state.counters["rows"] = list.GetCount();
}

// The panel's user refresh: everything read, and kept for the next ones.
void BM_ScanReadingEverything(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<int>(state.range(0))).Path();
    FolderCache cache;
    FolderList list;
    list.UseCache(&cache);
    for (auto _ : state) {
        cache.ReadEverythingNext();
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
}

// An auto-refresh tick over an unchanged mailbox.
void BM_ScanNothingChanged(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<int>(state.range(0))).Path();
    FolderCache cache;
    FolderList list;
    list.UseCache(&cache);
    list.Scan({path, true, false, path, ""});
    for (auto _ : state) {
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
    state.counters["reused"] = static_cast<double>(cache.Reused());
}

// A tick after 1 % of the folder files (".PMM" files and companions) were
// rewritten with a new time; the rewriting is not timed.
void BM_ScanOnePercentChanged(benchmark::State& state) {
    const int folders = static_cast<int>(state.range(0));
    const std::string path = Mailbox(folders).Path();
    FolderCache cache;
    FolderList list;
    list.UseCache(&cache);
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
    state.counters["reused"] = static_cast<double>(cache.Reused());
}

// What the kept readings take per folder, with and without the folder tree.
void BM_KeptBytesPerFolder(benchmark::State& state) {
    const int folders = static_cast<int>(state.range(0));
    const std::string path = Mailbox(folders).Path();
    for (auto _ : state) {
        for (bool withTree : {false, true}) {
            size_t before = CountingHeap::liveBytes;
            FolderCache cache;
            {
                FolderList list;
                list.UseCache(&cache);
                list.Scan({path, withTree, false, path, ""});
            }
            state.counters[withTree ? "with_tree" : "readings"] =
                static_cast<double>(CountingHeap::liveBytes - before) / static_cast<double>(folders);
        }
    }
}

void BM_LeastWork(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<int>(state.range(0))).Path();
    char head[128];
    for (auto _ : state) {
        size_t bytes = 0;
        DIR* dir = opendir(path.c_str());
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            int fd = open((path + entry->d_name).c_str(), O_RDONLY);
            bytes += static_cast<size_t>(read(fd, head, sizeof head));
            close(fd);
        }
        closedir(dir);
        benchmark::DoNotOptimize(bytes);
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
